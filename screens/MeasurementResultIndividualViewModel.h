#pragma once

#include "core/IndividualResultListModel.h"
#include "core/IndividualResultListRow.h"
#include "core/IndividualResultsModel.h"
#include "core/IndividualResultsRow.h"
#include "core/MeasureResultModel.h"
#include "monitor/ChannelResultRow.h"
#include "screens/AbstractViewModel.h"
#include "screens/HistoryGraph.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

class LevelChecker;

// The single-channel history screen: one channel of one device as a table of its results,
// one date and 300 rows a page, and as level, MER/CN and BER graphs around a selected result.
// The rows come from the device's daily history files at every opening; while the screen is
// on show it follows the channel's new results.
class MeasurementResultIndividualViewModel : public AbstractViewModel
{
    Q_OBJECT
public:
    MeasurementResultIndividualViewModel(ScreenId screenId, ApplicationModel *applicationModel,
                                         QObject *parent = nullptr);
    ~MeasurementResultIndividualViewModel() override;

    void resume() override;
    void suspend() override;
    void createConnection(QObject *page, QObject *frame) override;
    void activate() override;
    void deactivate() override;

    // The channel handed over by the result list.
    int selectedDeviceNo() const { return deviceNo; }
    BandTabIndex selectedBand() const { return band; }
    QString selectedChannel() const { return channel; }
    int selectedModelIndex() const { return modelIndex; }

    // State of the screen, for tests and diagnostics.
    bool isFollowing() const { return updateFlag; }
    int shownPage() const { return currentPage; }
    int channelStatus() const { return status; }
    QStringList dates() const { return dateList; }
    QVector<IndividualResultListRow> historyRows() const { return allRows; }
    QVector<IndividualResultListRow> rowsOfShownDate() const { return dateRows; }
    QVector<double> graphLevels() const { return levelValues; }

signals:
    void setResponseValueEnd(int index, int latestMeasurementResultIndex);

public slots:
    void onDataPassChannelData(int deviceNo, BandTabIndex band, QString channel, int modelIndex,
                               MeasureResultModel *measureResultModel, QString datetime, bool mercnr,
                               bool error);
    void onSetResponseValueEnd(int index, int latestMeasurementResultIndex);
    void onChangeDialogScaleNotify(double scale);
    void onRowButtonClicked(QString button, QString buttonvalue, int rowvalue) override;

private:
    LevelChecker *device() const;
    bool deviceMeasuring() const;
    HistoryGraph::Axis axis() const;
    int tableCount() const;
    void fillTable(int page);
    void setTableSelectFlag(int row, bool selected);
    QVariantList selectedInfoOf(const QString &broadcast, const QString &modulation, const QString &layer,
                                const QString &localfreq) const;
    int channelRowOfResultList(int deviceIndex, int channelPosition) const;

    void updateHeader();
    // False when the screen was left (or opened afresh) while the files were read: the rows
    // read then belong to nobody and nothing of this opening may go on.
    bool readIndividualLogFiles(quint64 opening);
    // A live result of the shown channel, as it was when it arrived.
    void applyLiveResult(int index, int position, const ChannelResultRow &result);
    // Live results that arrived while the files were read, applied after the read unless the
    // files already held them.
    void applyDeferredResults();
    void publishDateList();
    void selectDate(QString date);
    void showLatestDate();
    void nextPage();
    void previousPage();
    void goToPage(QString text);
    void selectTableRow(int row);
    void selectRow(int row);
    void redrawGraphs(int row);
    void changeDisplayPoints(QString text);
    void changeMinimumScale(const QString &text);
    void changeMaximumScale(const QString &text);
    // The level scale from the axis ends, and the axis labels.
    void applyLevelAxis();
    void rescaleLatestGraph();
    void rescaleSelectedGraph();
    void toggleUpdate();
    void addFirstLivePoint(ChannelResultRow result);

    QVector<double> levelValues;
    QVector<double> merValues;
    QVector<double> berValues;
    QVariantList headerList;
    QVariantList selectedInfo;
    int resultIndex = 0;
    int status = 0;
    int pointCount = 0;
    int pointSpacing = 0;
    int selectedRow = 0;
    int currentPage = 0;
    double maxDisplay = 0.0;
    double minDisplay = 0.0;
    double levelScale = 0.0;
    bool updateFlag = true;
    bool historyReading = false;
    // Counts openings and leavings, so that an opening resumed after the read's event loop
    // knows whether it is still the current one.
    quint64 openings = 0;
    struct DeferredResult
    {
        int index;
        int position;
        ChannelResultRow result;
    };
    QVector<DeferredResult> deferredResults;
    int deviceNo = 0;
    BandTabIndex band = BandTerrestrial;
    QString channel;
    int modelIndex = 0;
    bool merCnr = false;
    // The two history models belong to the QML engine, the result list's model to its
    // screen: guarded, never owned.
    QPointer<IndividualResultsModel> resultsModel;
    QPointer<IndividualResultListModel> resultListModel;
    QPointer<MeasureResultModel> measureResultModel;
    QVector<IndividualResultListRow> dateRows;
    QVector<IndividualResultListRow> allRows;
    QVector<IndividualResultListRow> graphRows;
    QStringList dateList;
};
