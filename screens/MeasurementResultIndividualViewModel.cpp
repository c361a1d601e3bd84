#include "screens/MeasurementResultIndividualViewModel.h"

#include "core/ConstantTables.h"
#include "monitor/ApplicationModel.h"
#include "monitor/DeviceList.h"
#include "monitor/LevelChecker.h"
#include "monitor/ResultHistoryLogWriter.h"
#include "screens/HistoryFileReader.h"
#include "screens/HistoryPaging.h"

#include <QEventLoop>
#include <QThread>

#include <algorithm>
#include <memory>

namespace {

const QString &placeholderDate()
{
    static const QString text = QStringLiteral("未選択");
    return text;
}

// Bands whose page shows no MER/CN and BER graphs.
bool hasMerBerGraphs(int band)
{
    const QString name = BandShortName110Table.value(band);
    return name != QLatin1String("LTE") && name != QLatin1String("FM") && name != QLatin1String("PILOT")
        && name != QStringLiteral("CATV上り");
}

QString broadcastText(const QString &broadcast)
{
    return broadcast == QLatin1String("Opticast") ? QStringLiteral("OPTICAST") : broadcast;
}

QVariantList numbers(int first, int step, int count)
{
    QVariantList list;
    for (int i = 0; i < count; ++i)
        list.append(first + i * step);
    return list;
}

constexpr int kGraphWidth = 396;

// A live point with the result's texts and its MER/CN and BER heights; the level height and
// the lines to the older point depend on how the point joins the graph.
IndividualResultsRow livePoint(const ChannelResultRow &result)
{
    IndividualResultsRow point;
    point.meryvalue = (HistoryGraph::merValue(result.merCn) - 5.0) * 2.5;
    point.beryvalue = HistoryGraph::berValue(result.ber);
    point.date = result.dateTime;
    point.level = result.level;
    point.mer = result.merCn;
    point.ber = result.ber;
    point.time = HistoryPaging::timeOf(result.dateTime);
    return point;
}

} // namespace

MeasurementResultIndividualViewModel::MeasurementResultIndividualViewModel(
    ScreenId screenId, ApplicationModel *applicationModel, QObject *parent)
    : AbstractViewModel(screenId, applicationModel, parent)
{
    setObjectName(QStringLiteral("MeasurementResultIndividualViewModel"));
}

MeasurementResultIndividualViewModel::~MeasurementResultIndividualViewModel() = default;

LevelChecker *MeasurementResultIndividualViewModel::device() const
{
    ApplicationModel *model = app();
    DeviceList *list = model ? model->deviceList() : nullptr;
    return list ? list->device(deviceNo - 1) : nullptr;
}

bool MeasurementResultIndividualViewModel::deviceMeasuring() const
{
    LevelChecker *d = device();
    return d && d->measurementState() == int(MeasurementState::Measuring);
}

HistoryGraph::Axis MeasurementResultIndividualViewModel::axis() const
{
    HistoryGraph::Axis a;
    a.minDisplay = minDisplay;
    a.maxDisplay = maxDisplay;
    a.levelScale = levelScale;
    return a;
}

int MeasurementResultIndividualViewModel::tableCount() const
{
    return resultListModel ? resultListModel->count() : 0;
}

void MeasurementResultIndividualViewModel::fillTable(int page)
{
    if (!resultListModel)
        return;
    resultListModel->clear();
    for (const IndividualResultListRow &row : HistoryPaging::pageRows(dateRows, page))
        resultListModel->addRow(row);
}

void MeasurementResultIndividualViewModel::setTableSelectFlag(int row, bool selected)
{
    if (resultListModel)
        resultListModel->setData(resultListModel->index(row), selected, IndividualResultListModel::SelectflagRole);
}

QVariantList MeasurementResultIndividualViewModel::selectedInfoOf(const QString &broadcast,
                                                                  const QString &modulation,
                                                                  const QString &layer,
                                                                  const QString &localfreq) const
{
    return {broadcast, modulation, layer, localfreq};
}

// --- life cycle --------------------------------------------------------------------------

void MeasurementResultIndividualViewModel::onDataPassChannelData(
    int deviceNo, BandTabIndex band, QString channel, int modelIndex,
    MeasureResultModel *measureResultModel, QString datetime, bool mercnr, bool error)
{
    logEnter("onDataPassChannelData");
    log(QStringLiteral("-------- onDataPassChannelData ---------- signal ----------"));
    log(QStringLiteral("deiceNo --- %1, band --- %2, channel --- %3, modelIndex --- %4, "
                       "datetime --- %5, mercnr --- %6, error --- %7")
            .arg(deviceNo)
            .arg(static_cast<int>(band))
            .arg(channel)
            .arg(modelIndex)
            .arg(datetime)
            .arg(mercnr ? 1 : 0)
            .arg(error ? 1 : 0));
    logLeave("onDataPassChannelData");
    this->deviceNo = deviceNo;
    this->band = band;
    this->channel = channel;
    this->modelIndex = modelIndex;
    this->merCnr = mercnr;
    this->measureResultModel = measureResultModel;
}

void MeasurementResultIndividualViewModel::resume()
{
    logEnter("resume");
    logLeave("resume");
}

void MeasurementResultIndividualViewModel::suspend()
{
    logEnter("suspend");
}

void MeasurementResultIndividualViewModel::createConnection(QObject *page, QObject *frame)
{
    logEnter("createConnection");
    AbstractViewModel::createConnection(page, frame);
    if (page)
        connect(page, SIGNAL(rowbuttonclicked(QString, QString, int)), this,
                SLOT(onRowButtonClicked(QString, QString, int)));
    logLeave("createConnection");
}

void MeasurementResultIndividualViewModel::deactivate()
{
    logEnter("deactivate");
    ++openings;
    if (page)
        disconnect(page, SIGNAL(rowbuttonclicked(QString, QString, int)), this,
                   SLOT(onRowButtonClicked(QString, QString, int)));
    page = nullptr;
    logLeave("deactivate");
}

void MeasurementResultIndividualViewModel::onChangeDialogScaleNotify(double scale)
{
    logEnter("onChangeDialogScaleNotify");
    setPageProperty("scaling", scale);
}

void MeasurementResultIndividualViewModel::activate()
{
    logEnter("activate");
    const quint64 opening = ++openings;
    writeScreenChangeLog();
    ApplicationModel *model = app();
    if (model)
        setPageProperty("scaling", model->dialogScale());

    levelValues.clear();
    merValues.clear();
    berValues.clear();
    headerList.clear();
    dateRows.clear();
    allRows.clear();
    dateList.clear();
    pointCount = 10;
    pointSpacing = 44;
    selectedRow = 0;
    currentPage = 1;
    maxDisplay = 120.0;
    minDisplay = 20.0;
    levelScale = 1.2;
    updateFlag = true;
    graphRows.clear();
    selectedInfo.clear();

    resultsModel = model ? qobject_cast<IndividualResultsModel *>(
                               model->findQmlObject(QStringLiteral("individualResultsModel")))
                         : nullptr;
    if (resultsModel) {
        resultsModel->setCapacity(10000);
        resultsModel->clear();
    }
    resultListModel = model ? qobject_cast<IndividualResultListModel *>(
                                  model->findQmlObject(QStringLiteral("individualResultListModel")))
                            : nullptr;
    if (resultListModel) {
        resultListModel->setCapacity(20000);
        resultListModel->clear();
    }

    setPageProperty("bandcheck", hasMerBerGraphs(band));

    if (!readIndividualLogFiles(opening)) {
        logLeave("activate");
        return;
    }
    publishDateList();
    updateHeader();

    showLatestDate();
    updateFlag = deviceMeasuring();
    setPageProperty("updateflag", updateFlag);
    setPageProperty("rowindex", tableCount());
    applyDeferredResults();
    logLeave("activate");
}

void MeasurementResultIndividualViewModel::applyDeferredResults()
{
    const QVector<DeferredResult> results = std::move(deferredResults);
    deferredResults.clear();
    for (const DeferredResult &deferred : results) {
        // A result written before the read reached its file is already among the rows.
        const int newest = qMin(allRows.size(), results.size() + 16);
        const bool read = std::any_of(allRows.cbegin(), allRows.cbegin() + newest,
                                      [&deferred](const IndividualResultListRow &row) {
                                          return row.date == deferred.result.dateTime;
                                      });
        if (!read)
            applyLiveResult(deferred.index, deferred.position, deferred.result);
    }
}

void MeasurementResultIndividualViewModel::updateHeader()
{
    LevelChecker *d = device();
    resultIndex = d ? d->findLatestResult(band, channel) : -1;

    QString bandText = BandShortName110Table.value(band);
    if (merCnr && (band == BandTerrestrial || band == BandCatv))
        bandText += QStringLiteral("(換算)");
    headerList = {QString::number(deviceNo), d ? d->name() : QString(), bandText, channel,
                  PolarizationTable.value(band)};

    // A channel no longer in the plan has no local oscillator to show.
    const QString localFrequency = d && resultIndex >= 0 && resultIndex < d->channelSettingCount()
        ? LocalFrequencyTextTable.value(d->channelSetting(resultIndex).localFrequency)
        : QString();

    setPageProperty("localfreq", localFrequency);
    setPageProperty("status", status);
    setPageProperty("headerstatus", headerList);
}

void MeasurementResultIndividualViewModel::onRowButtonClicked(QString button, QString buttonvalue, int rowvalue)
{
    if (button == QLatin1String("nextlist"))
        nextPage();
    else if (button == QLatin1String("previouslist"))
        previousPage();
    else if (button == QLatin1String("doubleClickListRow"))
        selectTableRow(rowvalue);
    else if (button == QLatin1String("datechangelist"))
        selectDate(buttonvalue);
    else if (button == QLatin1String("updatebutton"))
        toggleUpdate();
    else if (button == QLatin1String("inputenter"))
        goToPage(buttonvalue);
    else if (button == QLatin1String("comboboxchangedisplaypoint"))
        changeDisplayPoints(buttonvalue);
    else if (button == QLatin1String("changeminimumscale"))
        changeMinimumScale(buttonvalue);
    else if (button == QLatin1String("changemaxscale"))
        changeMaximumScale(buttonvalue);
}

// --- history files -----------------------------------------------------------------------

bool MeasurementResultIndividualViewModel::readIndividualLogFiles(quint64 opening)
{
    const HistoryFileReader reader(BandShortName110Table.value(band), channel);
    // A year of history takes longer to read than the window may stand still: the files
    // are read by a thread of their own while this thread's event loop goes on, user input
    // held back. Live results of the channel meanwhile wait for the read (see
    // applyDeferredResults).
    HistoryFileReader::Result result;
    const int number = deviceNo;
    QEventLoop loop;
    std::unique_ptr<QThread> thread(
        QThread::create([&result, &reader, number]() { result = reader.readDevice(number); }));
    connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    historyReading = true;
    thread->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    thread->wait();
    historyReading = false;
    if (opening != openings) {
        deferredResults.clear();
        log(QStringLiteral("history read dropped: the screen was left during the read"));
        return false;
    }
    for (const int position : qAsConst(result.unreadableFiles))
        log(QStringLiteral("MeasurementChannel %1.csv read ERROR").arg(position));
    // Every row read goes in front of the rows held; the reader gives them newest first.
    result.rows += allRows;
    allRows = result.rows;
    for (const QString &date : qAsConst(result.dates)) {
        if (!dateList.contains(date))
            dateList.append(date);
    }
    return true;
}

// --- dates and pages ---------------------------------------------------------------------

void MeasurementResultIndividualViewModel::publishDateList()
{
    const int rows = dateRows.size();
    setPageProperty("listCount", HistoryPaging::pageCount(rows));
    if (rows == 0)
        setPageProperty("listCount", 1);
    if (!dateList.isEmpty())
        HistoryPaging::sortNewestFirst(&dateList);
    setPageProperty("datelist", dateList);
}

void MeasurementResultIndividualViewModel::selectDate(QString date)
{
    dateRows.clear();
    if (resultListModel)
        resultListModel->clear();
    dateRows = HistoryPaging::rowsOfDate(allRows, date);
    updateFlag = false;
    setPageProperty("updateflag", false);
    fillTable(1);
    setPageProperty("rowindex", tableCount());
    setPageProperty("listCount", HistoryPaging::pageCount(dateRows.size()));
    currentPage = 1;
    setPageProperty("currentpage", 1);
}

void MeasurementResultIndividualViewModel::showLatestDate()
{
    LevelChecker *d = device();
    resultIndex = d ? d->findLatestResult(band, channel) : -1;
    const int stored = d ? d->measurementHistoryCount(resultIndex) : 0;

    if (dateList.isEmpty()) {
        dateList.append(placeholderDate());
        return;
    }
    QString date;
    if (stored > 0) {
        const QString newest = d->measurementHistory(resultIndex, stored - 1).dateTime;
        const auto found = std::find_if(dateList.cbegin(), dateList.cend(),
                                        [&newest](const QString &entry) { return newest.contains(entry); });
        if (found == dateList.cend())
            return;
        date = *found;
    } else {
        date = dateList.first();
    }
    selectDate(date);
    levelValues.clear();
    merValues.clear();
    berValues.clear();
    if (resultsModel)
        resultsModel->clear();
    graphRows = dateRows;
    selectRow(0);
}

void MeasurementResultIndividualViewModel::nextPage()
{
    if (dateRows.isEmpty() || currentPage >= HistoryPaging::pageCount(dateRows.size()))
        return;
    ++currentPage;
    setPageProperty("currentpage", currentPage);
    updateFlag = false;
    setPageProperty("updateflag", false);
    fillTable(currentPage);
    setPageProperty("rowindex", tableCount());
}

void MeasurementResultIndividualViewModel::previousPage()
{
    if (dateRows.isEmpty() || currentPage <= 1)
        return;
    updateFlag = false;
    --currentPage;
    setPageProperty("updateflag", false);
    setPageProperty("currentpage", currentPage);
    fillTable(currentPage);
    setPageProperty("rowindex", tableCount());
}

void MeasurementResultIndividualViewModel::goToPage(QString text)
{
    if (dateRows.isEmpty())
        return;
    currentPage = HistoryPaging::pageFromText(text, HistoryPaging::pageCount(dateRows.size()));
    // The page's input shows the page again even when it did not change.
    setPageProperty("currentpage", 0);
    setPageProperty("currentpage", currentPage);
    updateFlag = false;
    setPageProperty("updateflag", false);
    fillTable(currentPage);
    setPageProperty("rowindex", tableCount());
}

// --- graphs ------------------------------------------------------------------------------

void MeasurementResultIndividualViewModel::selectTableRow(int row)
{
    levelValues.clear();
    merValues.clear();
    berValues.clear();
    if (resultsModel)
        resultsModel->clear();
    graphRows = dateRows;
    setTableSelectFlag(row, true);
    selectedRow = row;
    selectRow(row);
}

void MeasurementResultIndividualViewModel::selectRow(int row)
{
    const int position = (currentPage - 1) * HistoryPaging::PageSize + row;
    selectedInfo.clear();
    updateFlag = false;
    setPageProperty("updateflag", false);
    setPageProperty("measuerheaderlist", QString());
    // A position outside the rows (an empty date, a row the table does not hold) selects
    // nothing: the graphs show their placeholders only.
    const bool held = position >= 0 && position < dateRows.size();
    if (held) {
        const IndividualResultListRow &selected = dateRows.at(position);
        selectedInfo = selectedInfoOf(selected.broadcast, selected.ModulationListRole, selected.layer,
                                      selected.localfreq);
        setPageProperty("measuerheaderlist", selectedInfo);
    }

    const HistoryGraph::Window window = HistoryGraph::window(position, pointCount, dateRows.size());

    const int marks = std::min(graphRows.size(), tableCount());
    for (int i = 0; i < graphRows.size(); ++i)
        graphRows[i].selectflag = false;
    for (int i = 0; i < marks; ++i)
        setTableSelectFlag(i, false);
    if (position >= 0 && position < graphRows.size())
        graphRows[position].selectflag = true;
    if (held)
        setTableSelectFlag(row, true);

    const QVector<IndividualResultListRow> windowRows = dateRows.mid(window.first, window.count);
    for (const IndividualResultListRow &r : windowRows) {
        levelValues.append(HistoryGraph::levelValue(r.level));
        merValues.append(HistoryGraph::merValue(r.mer));
        berValues.append(HistoryGraph::berValue(r.ber));
    }
    if (!resultsModel)
        return;
    const QVector<IndividualResultsRow> points =
        HistoryGraph::windowPoints(windowRows, levelValues, merValues, berValues, pointCount, pointSpacing,
                                   axis(), true);
    for (const IndividualResultsRow &point : points)
        resultsModel->addRow(point);
}

void MeasurementResultIndividualViewModel::redrawGraphs(int row)
{
    const int position = (currentPage - 1) * HistoryPaging::PageSize + row;
    const HistoryGraph::Window window = HistoryGraph::window(position, pointCount, graphRows.size());
    const QVector<IndividualResultListRow> windowRows = graphRows.mid(window.first, window.count);
    for (const IndividualResultListRow &r : windowRows) {
        levelValues.append(HistoryGraph::levelValue(r.level));
        merValues.append(HistoryGraph::merValue(r.mer));
        berValues.append(HistoryGraph::berValue(r.ber));
    }
    if (resultsModel) {
        const QVector<IndividualResultsRow> points =
            HistoryGraph::windowPoints(windowRows, levelValues, merValues, berValues, pointCount,
                                       pointSpacing, axis(), false);
        for (const IndividualResultsRow &point : points)
            resultsModel->addRow(point);
    }
    updateFlag = false;
    setPageProperty("updateflag", false);
}

void MeasurementResultIndividualViewModel::changeDisplayPoints(QString text)
{
    setPageProperty("pointstring", text);
    const int points = text.toInt();
    if (points == 100) {
        pointCount = 100;
        pointSpacing = 4;
    } else if (points == 10) {
        pointCount = 10;
        pointSpacing = 44;
    } else {
        return;
    }
    levelValues.clear();
    merValues.clear();
    berValues.clear();
    if (resultsModel)
        resultsModel->clear();
    setPageProperty("checkpoint", pointCount == 100);
    setPageProperty("graphinterval", pointSpacing);
    setPageProperty("numbergraph", pointCount - 1);
    setPageProperty("graphxsize", kGraphWidth);
    if (pointCount == 100 && allRows.isEmpty())
        return;
    if (updateFlag) {
        showLatestDate();
        updateFlag = true;
        setPageProperty("updateflag", true);
    } else {
        redrawGraphs(selectedRow);
    }
}

void MeasurementResultIndividualViewModel::changeMinimumScale(const QString &text)
{
    minDisplay = text.toInt();
    const int count = std::max(0, (120 - static_cast<int>(minDisplay)) / 20);
    const QVariantList tops = numbers(120, -20, count);
    if (updateFlag)
        rescaleLatestGraph();
    else
        rescaleSelectedGraph();
    setPageProperty("mindisplay", minDisplay);
    setPageProperty("maxselectstring", 0);
    setPageProperty("maxselectstring", tops);
}

void MeasurementResultIndividualViewModel::changeMaximumScale(const QString &text)
{
    maxDisplay = text.toInt();
    const int count = std::max(0, (static_cast<int>(maxDisplay) - 20) / 20);
    const QVariantList bottoms = numbers(20, 20, count);
    if (updateFlag)
        rescaleLatestGraph();
    else
        rescaleSelectedGraph();
    setPageProperty("minimumselectstring", 0);
    setPageProperty("minimumselectstring", bottoms);
    setPageProperty("maxdisplay", maxDisplay);
}

void MeasurementResultIndividualViewModel::applyLevelAxis()
{
    // An axis of no height has no scale; the page never offers one.
    if (maxDisplay != minDisplay)
        levelScale = 120.0 / (maxDisplay - minDisplay);
    setPageProperty("xaxisscale", maxDisplay);
    setPageProperty("xaxissmagn", (maxDisplay - minDisplay) / 5);
}

void MeasurementResultIndividualViewModel::rescaleLatestGraph()
{
    applyLevelAxis();
    if (!resultsModel)
        return;
    const HistoryGraph::Axis a = axis();
    const int rows = std::min(pointCount, dateRows.size());
    for (int k = 0; k < rows; ++k) {
        double graphY = 0.0;
        double length = 0.0;
        double rad = 0.0;
        if (k == dateRows.size() - 1) {
            // The oldest row of the date: its level read as a plain number, held at the ends
            // of the default axis.
            const double level = HistoryGraph::displayedLevel(dateRows.at(k).level.toDouble(), a);
            graphY = HistoryGraph::levelY(level, a, false);
        } else {
            const double level = HistoryGraph::levelValue(dateRows.at(k).level);
            const double older = HistoryGraph::levelValue(dateRows.at(k + 1).level);
            graphY = HistoryGraph::levelY(level, a, false);
            HistoryGraph::levelLine(level, older, a, pointSpacing, &length, &rad);
        }
        const QModelIndex at = resultsModel->index(k);
        resultsModel->setData(at, graphY, IndividualResultsModel::GraphyvalueRole);
        resultsModel->setData(at, rad, IndividualResultsModel::RadRole);
        resultsModel->setData(at, length, IndividualResultsModel::LinelengthRole);
    }
}

void MeasurementResultIndividualViewModel::rescaleSelectedGraph()
{
    applyLevelAxis();
    if (!resultsModel)
        return;
    const HistoryGraph::Axis a = axis();
    const int position = (currentPage - 1) * HistoryPaging::PageSize + selectedRow;
    const HistoryGraph::Window window = HistoryGraph::window(position, pointCount, graphRows.size());
    for (int k = 0; k < window.count; ++k) {
        const IndividualResultListRow &row = graphRows.at(window.first + k);
        const double level = HistoryGraph::levelValue(row.level);
        double length = 0.0;
        double rad = 0.0;
        if (k + 1 < window.count) {
            const double older = HistoryGraph::levelValue(graphRows.at(window.first + k + 1).level);
            HistoryGraph::levelLine(level, older, a, pointSpacing, &length, &rad);
        }
        const QModelIndex at = resultsModel->index(k);
        resultsModel->setData(at, HistoryGraph::levelY(level, a, false), IndividualResultsModel::GraphyvalueRole);
        resultsModel->setData(at, rad, IndividualResultsModel::RadRole);
        resultsModel->setData(at, length, IndividualResultsModel::LinelengthRole);
    }
}

// --- live update -------------------------------------------------------------------------

int MeasurementResultIndividualViewModel::channelRowOfResultList(int deviceIndex, int channelPosition) const
{
    if (!measureResultModel)
        return -1;
    const DeviceList *list = app() ? app()->deviceList() : nullptr;
    const int devices = list ? list->deviceCount() : 0;
    // The device's group starts at its top row; its channels follow in plan order.
    int top = 0;
    for (int i = 0; i < devices; ++i) {
        const int position = measureResultModel->deviceTopRow(i);
        if (position >= 0 && position < measureResultModel->rowCount()
            && measureResultModel->row(position).no.toInt() == deviceIndex + 1) {
            top = position;
            break;
        }
    }
    const auto isChannelRow = [&](int position) {
        if (position < 0 || position >= measureResultModel->rowCount())
            return false;
        const MeasureResultRow row = measureResultModel->row(position);
        QString bandText = row.band;
        bandText.remove(QStringLiteral("(換算)"));
        return !row.latestData && row.no.toInt() == deviceIndex + 1 && row.channel == channel
            && bandText == BandShortName110Table.value(band);
    };
    const int expected = top + channelPosition + 1;
    if (isChannelRow(expected))
        return expected;
    // Sorted or rebuilt differently: the row of this device that carries the channel.
    for (int position = 0; position < measureResultModel->rowCount(); ++position) {
        if (isChannelRow(position))
            return position;
    }
    return -1;
}

void MeasurementResultIndividualViewModel::onSetResponseValueEnd(int index, int latestMeasurementResultIndex)
{
    if (index != deviceNo - 1 || !owner
        || owner->property("currentViewName").toString() != QLatin1String("MeasurementResultIndividualViewModel"))
        return;
    LevelChecker *d = device();
    if (!d)
        return;
    // The result and the plan and threshold rows it is judged with all belong to the
    // result's own position.
    const int position = latestMeasurementResultIndex;
    const ChannelResultRow result = d->latestResult(position);
    if (result.bandTabIndex != band || result.channel != channel)
        return;
    if (historyReading) {
        deferredResults.append({index, position, result});
        return;
    }
    applyLiveResult(index, position, result);
}

void MeasurementResultIndividualViewModel::applyLiveResult(int index, int position,
                                                           const ChannelResultRow &result)
{
    LevelChecker *d = device();
    if (!d)
        return;
    const AlertSettingRow alertRow = d->alertSetting(position);
    const bool hasThresholds = position >= 0 && position < d->alertSettingCount();
    const bool hasPlan = position >= 0 && position < d->channelSettingCount();

    levelValues.prepend(HistoryGraph::levelValue(result.level));
    merValues.prepend(HistoryGraph::merValue(result.merCn));
    berValues.prepend(HistoryGraph::berValue(result.ber));

    const ResultHistoryLogWriter::Verdicts verdicts = ResultHistoryLogWriter::verdicts(
        result, hasThresholds ? &alertRow : nullptr, d->startTime(), d->endTime(), d->inputTypeText());

    IndividualResultListRow row;
    row.date = result.dateTime;
    row.level = result.level;
    row.mer = result.merCn;
    row.ber = result.ber;
    row.levelerror = verdicts.level;
    row.mererror = verdicts.merCn;
    row.bererror = verdicts.ber;
    row.hikarierror = verdicts.hikariLevel;
    row.selectflag = false;
    row.broadcast = result.broadcastStandard;
    row.ModulationListRole = result.modulation;
    row.layer = result.layer;
    row.localfreq = LocalFrequencyTextTable.value(hasPlan ? d->channelSetting(position).localFrequency : 0,
                                                  QStringLiteral("---"));
    row.hikarilevel = result.hikariLevel;
    allRows.prepend(row);

    if (!updateFlag)
        return;

    merCnr = result.convertedCn;
    updateHeader();
    selectedInfo = selectedInfoOf(broadcastText(result.broadcastStandard), result.modulation, result.layer,
                                  row.localfreq);
    setPageProperty("measuerheaderlist", selectedInfo);
    dateRows.prepend(row);

    const QString date = HistoryPaging::dateOf(result.dateTime);
    dateList.removeAll(placeholderDate());
    const bool knownDate = std::any_of(dateList.cbegin(), dateList.cend(), [&result](const QString &entry) {
        return result.dateTime.contains(entry, Qt::CaseInsensitive);
    });

    if (!knownDate) {
        dateList.prepend(date);
        if (resultListModel)
            resultListModel->clear();
        if (resultsModel)
            resultsModel->clear();
        selectDate(date);
        addFirstLivePoint(result);
        updateFlag = true;
        setPageProperty("updateflag", true);
        setPageProperty("datelist", dateList);
        return;
    }

    updateFlag = true;
    setPageProperty("updateflag", true);
    setPageProperty("datelist", dateList);

    const HistoryGraph::Axis a = axis();
    IndividualResultsRow point = livePoint(result);
    if (levelValues.size() > 1) {
        HistoryGraph::levelLine(levelValues.at(0), levelValues.at(1), a, pointSpacing, &point.linelength, &point.rad);
        HistoryGraph::merLine(merValues.at(0), merValues.at(1), pointSpacing, &point.merlength, &point.merrad);
        HistoryGraph::berLine(berValues.at(0), berValues.at(1), pointSpacing, &point.berlength, &point.berrad);
    }

    const int statusRow = channelRowOfResultList(index, position);
    if (statusRow >= 0)
        status = measureResultModel->row(statusRow).channelStatus;
    setPageProperty("status", status);

    point.graphyvalue = HistoryGraph::levelY(levelValues.at(0), a, false);

    if (resultListModel) {
        if (dateRows.size() < 2)
            resultListModel->addRow(row);
        else
            resultListModel->addLatestRow(row);
    }
    if (resultsModel) {
        if (resultsModel->count() < pointCount)
            resultsModel->addRow(IndividualResultsRow());
        resultsModel->addLatestPoint(point);
    }
    setPageProperty("rowindex", tableCount());
    setPageProperty("listCount", HistoryPaging::pageCount(dateRows.size()));
}

void MeasurementResultIndividualViewModel::addFirstLivePoint(ChannelResultRow result)
{
    const HistoryGraph::Axis a = axis();
    const double level = HistoryGraph::levelValue(result.level);
    const double shown = level <= minDisplay ? minDisplay : (level >= maxDisplay ? maxDisplay : level);
    IndividualResultsRow point = livePoint(result);
    point.graphyvalue = HistoryGraph::atFloor(level, a) ? 1.0 : (shown - minDisplay) * levelScale;
    if (resultsModel) {
        if (dateRows.size() < 2)
            resultsModel->addRow(point);
        else
            resultsModel->addLatestPoint(point);
    }
    setPageProperty("rowindex", tableCount());
    setPageProperty("listCount", HistoryPaging::pageCount(dateRows.size()));
}

void MeasurementResultIndividualViewModel::toggleUpdate()
{
    const bool measuring = deviceMeasuring();
    if (allRows.isEmpty()) {
        updateFlag = measuring ? !updateFlag : false;
        setPageProperty("updateflag", updateFlag);
        return;
    }
    if (dateList.isEmpty() || dateList.first() == placeholderDate()) {
        if (!dateList.isEmpty())
            dateList.removeFirst();
        dateList.prepend(HistoryPaging::dateOf(allRows.first().date));
    }
    dateRows = HistoryPaging::rowsOfDate(allRows, dateList.first());
    fillTable(1);
    levelValues.clear();
    merValues.clear();
    berValues.clear();

    if (updateFlag) {
        updateFlag = false;
        graphRows = dateRows;
        setPageProperty("updateflag", false);
        return;
    }
    if (resultsModel)
        resultsModel->clear();
    showLatestDate();
    if (measuring) {
        updateFlag = true;
        setPageProperty("updateflag", true);
        setPageProperty("rowindex", tableCount());
        setPageProperty("listCount", HistoryPaging::pageCount(dateRows.size()));
        setPageProperty("datelist", QString());
        setPageProperty("datelist", dateList);
        selectedRow = 0;
        currentPage = 1;
        setPageProperty("currentpage", 1);
    } else {
        updateFlag = false;
        setPageProperty("updateflag", false);
    }
}
