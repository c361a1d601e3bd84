#pragma once

#include <QObject>
#include <QVariant>
#include <QVariantMap>

// Published to QML as "attributes": which screen is on show and the values handed from
// one screen to the next.
class Attributes : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString qmlPath READ qmlPath WRITE setQmlPath)
    Q_PROPERTY(QVariant viewModel READ viewModel WRITE setViewModel)
    Q_PROPERTY(QVariantMap takeOver READ takeOver WRITE setTakeOver)
public:
    explicit Attributes(QObject *parent = nullptr);

    QString qmlPath() const { return m_qmlPath; }
    QVariant viewModel() const { return m_viewModel; }
    QVariantMap takeOver() const { return m_takeOver; }

    void setQmlPath(const QString &path) { m_qmlPath = path; }
    void setViewModel(const QVariant &viewModel) { m_viewModel = viewModel; }
    void setTakeOver(const QVariantMap &takeOver) { m_takeOver = takeOver; }
    void clearTakeOver() { m_takeOver.clear(); }

private:
    QString m_qmlPath;
    QVariant m_viewModel;
    QVariantMap m_takeOver;
};
