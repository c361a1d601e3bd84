#pragma once

#include <QHash>
#include <QMutex>
#include <QString>

#include <functional>

// The episodes in which appends to a file are lost, per file: the first loss of an episode
// is reported with its reason, and the first append that works again ends the episode with
// the number of lines lost in it, so every gap in a file is told. Any thread.
class AppendLossEpisodes
{
public:
    using Report = std::function<void(const QString &message)>;

    explicit AppendLossEpisodes(Report report = Report());

    // A line (or a set of lines written together, counted as lines) lost at path.
    void lost(const QString &path, const QString &reason, int lines = 1);
    // An append at path that worked: ends the episode of path, if one is open.
    void written(const QString &path);
    // Lines lost so far in the open episode of path, 0 without one.
    int losing(const QString &path) const;

    static QString beginText(const QString &path, const QString &reason);
    static QString endText(const QString &path, int lines);

private:
    Report m_report;
    mutable QMutex m_mutex;
    QHash<QString, int> m_lost;
};
