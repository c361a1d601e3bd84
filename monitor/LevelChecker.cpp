#include "monitor/LevelChecker.h"

#include "monitor/SnmpLibrary.h"
#include "monitor/SnmpObject.h"
#include "monitor/SnmpSessionSlot.h"
#include "platform/PlatformSleep.h"

#include <QDateTime>
#include <QStringList>
#include <QTextCodec>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <sys/select.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <type_traits>

static_assert(std::is_same<oid, unsigned long>::value,
              "LevelChecker::parseOidText writes the library's oid type");

namespace {

// One select of at most this long per request; the library's own timeout (1 s) has
// expired by then, so snmp_sess_timeout reports the request as timed out.
constexpr int ReplyWaitSeconds = 2;
// Bounded wait for a request that is still outstanding after the select.
constexpr int OutstandingWaitSteps = 500;
constexpr unsigned long OutstandingWaitStepMs = 10;

constexpr int OperationReceived = NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE;
constexpr int OperationResend = NETSNMP_CALLBACK_OP_RESEND;

QString addressText(quint32 address)
{
    unsigned char bytes[4];
    std::memcpy(bytes, &address, sizeof bytes);
    return QStringLiteral("%1.%2.%3.%4")
        .arg(unsigned(bytes[0]))
        .arg(unsigned(bytes[1]))
        .arg(unsigned(bytes[2]))
        .arg(unsigned(bytes[3]));
}

// One part of an OID text as a sub-identifier, as QString::toULong reads it (0 for a part
// that is no number): plain digits, the parts this system writes, are read here directly.
unsigned long subIdentifier(const QChar *part, int length)
{
    if (length == 0)
        return 0;
    // Up to 19 digits cannot overflow the 64-bit type.
    if (length <= 19) {
        unsigned long value = 0;
        int i = 0;
        for (; i < length; ++i) {
            const ushort c = part[i].unicode();
            if (c < '0' || c > '9')
                break;
            value = value * 10 + (c - '0');
        }
        if (i == length)
            return value;
    }
    return QString(part, length).toULong();
}

struct MeasResultName
{
    int first = 0;
    QVector<unsigned long> object;
};

// The sub-identifiers that name the measurement result object: the two after the nine of the
// enterprise prefix. Made once from the texts.
const MeasResultName &measResultName()
{
    static const MeasResultName name = [] {
        MeasResultName n;
        const QStringList prefix = QString::fromLatin1(SnmpObject::EnterprisePrefix).split(QLatin1Char('.'));
        const QStringList object = QString::fromLatin1(SnmpObject::MeasResult).split(QLatin1Char('.'));
        // The prefix text ends with "." and so has one empty part after its nine numbers.
        n.first = prefix.size() - 2;
        for (const QString &part : object)
            n.object.append(part.toULong());
        return n;
    }();
    return name;
}

// Whether the first variable names the measurement result object.
bool isMeasResultVariable(const netsnmp_pdu *pdu)
{
    if (!pdu || !pdu->variables)
        return false;
    const MeasResultName &name = measResultName();
    const netsnmp_variable_list *variable = pdu->variables;
    if (variable->name_length < size_t(name.first + name.object.size()))
        return false;
    for (int i = 0; i < name.object.size(); ++i) {
        if (variable->name[name.first + i] != name.object.at(i))
            return false;
    }
    return true;
}

} // namespace

LevelChecker::LevelChecker(int deviceNo, QString name, const quint32 *ipAddress, int inputType,
                           QString settingFileName, int cycleInterval, QString startTime,
                           QString endTime, int wavelength, QObject *parent)
    : QObject(parent)
    , m_deviceNo(deviceNo)
    , m_name(std::move(name))
    , m_ipAddressText(QStringLiteral("0.0.0.0"))
    , m_inputType(inputType)
    , m_settingFileName(std::move(settingFileName))
    , m_timer(new QTimer(this))
    , m_startTime(std::move(startTime))
    , m_endTime(std::move(endTime))
    , m_cycleInterval(cycleInterval)
    , m_wavelength(wavelength)
{
    if (ipAddress)
        m_ipAddress = *ipAddress;
    rebuildIpAddressText();
}

LevelChecker::~LevelChecker()
{
    if (m_pendingPdu)
        snmp_free_pdu(m_pendingPdu);
    m_pendingPdu = nullptr;
    // The timer goes with the record's children.
}

int LevelChecker::deviceNo() const { return m_deviceNo; }
void LevelChecker::setDeviceNo(const int &deviceNo) { m_deviceNo = deviceNo; }
QString LevelChecker::name() const { return m_name; }
void LevelChecker::setName(QString name) { m_name = std::move(name); }
QString LevelChecker::ipAddress() const { return addressText(m_ipAddress); }
QString LevelChecker::ipAddressText() const { return m_ipAddressText; }

void LevelChecker::setIpAddress(const quint32 *ipAddress)
{
    if (!ipAddress)
        return;
    m_ipAddress = *ipAddress;
    rebuildIpAddressText();
}

void LevelChecker::rebuildIpAddressText() { m_ipAddressText = addressText(m_ipAddress); }

int LevelChecker::port() const { return m_port.load(); }
void LevelChecker::setPort(int port) { m_port.store(port); }

const char *LevelChecker::community() const
{
    return m_community.isNull() ? nullptr : m_community.constData();
}

void LevelChecker::setCommunity(const char *community)
{
    if (!community)
        return;
    m_community = QByteArray(community);
}

QString LevelChecker::inputTypeText() const
{
    switch (m_inputType.load()) {
    case 0:
        return QStringLiteral("同軸");
    case 1:
        return QStringLiteral("光");
    default:
        return QStringLiteral("---");
    }
}

void LevelChecker::setInputType(const int &inputType) { m_inputType.store(inputType); }
QString LevelChecker::settingFileName() const { return m_settingFileName; }
void LevelChecker::setSettingFileName(QString settingFileName) { m_settingFileName = std::move(settingFileName); }
QString LevelChecker::startTime() const { return m_startTime; }
void LevelChecker::setStartTime(QString startTime) { m_startTime = std::move(startTime); }
QString LevelChecker::endTime() const { return m_endTime; }
void LevelChecker::setEndTime(QString endTime) { m_endTime = std::move(endTime); }
QString LevelChecker::serialNumber() const { return m_serialNumber; }
void LevelChecker::setSerialNumber(QString serialNumber) { m_serialNumber = std::move(serialNumber); }
QString LevelChecker::firmwareVersion() const { return m_firmwareVersion; }
void LevelChecker::setFirmwareVersion(QString firmwareVersion) { m_firmwareVersion = std::move(firmwareVersion); }
QString LevelChecker::macAddress() const { return m_macAddress; }
void LevelChecker::setMacAddress(QString macAddress) { m_macAddress = std::move(macAddress); }
bool LevelChecker::optionId() const { return m_optionId; }
void LevelChecker::setOptionId(const bool &optionId) { m_optionId = optionId; }
int LevelChecker::measurementState() const { return m_measurementState; }
void LevelChecker::setMeasurementState(int measurementState) { m_measurementState = measurementState; }
bool LevelChecker::isMeasurable() const { return m_measurable == 1; }
void LevelChecker::setMeasurable(const int &measurable) { m_measurable = measurable; }
int LevelChecker::c24FrequencyType() const { return m_c24FrequencyType.load(); }
void LevelChecker::setC24FrequencyType(int type) { m_c24FrequencyType.store(type); }
int LevelChecker::ch8FrequencyType() const { return m_ch8FrequencyType.load(); }
void LevelChecker::setCh8FrequencyType(int type) { m_ch8FrequencyType.store(type); }
ApplicationSetting LevelChecker::applicationSetting() const
{
    QMutexLocker lock(&m_applicationSettingMutex);
    return m_applicationSetting;
}

void LevelChecker::setApplicationSetting(const ApplicationSetting &setting)
{
    QMutexLocker lock(&m_applicationSettingMutex);
    m_applicationSetting = setting;
}

QString LevelChecker::cycleIntervalText() const
{
    switch (m_cycleInterval.load()) {
    case 1:
        return QStringLiteral("5分");
    case 2:
        return QStringLiteral("15分");
    case 3:
        return QStringLiteral("30分");
    case 4:
        return QStringLiteral("60分");
    default:
        return QStringLiteral("連続");
    }
}

void LevelChecker::setCycleInterval(const int &cycleInterval) { m_cycleInterval.store(cycleInterval); }

QString LevelChecker::wavelengthText() const
{
    switch (m_wavelength.load()) {
    case 0:
        return QStringLiteral("1300");
    case 1:
        return QStringLiteral("1310");
    case 2:
        return QStringLiteral("1490");
    case 4:
        return QStringLiteral("1625");
    default:
        return QStringLiteral("1550");
    }
}

void LevelChecker::setWavelength(const int &wavelength) { m_wavelength.store(wavelength); }

QString LevelChecker::terrestrialMerCnText() const
{
    return m_terrestrialMerCn.load() == 1 ? QStringLiteral("CNR") : QStringLiteral("MER");
}

void LevelChecker::setTerrestrialMerCn(const int &merCn) { m_terrestrialMerCn.store(merCn); }

QString LevelChecker::catvMerCnText() const
{
    return m_catvMerCn.load() == 1 ? QStringLiteral("CNR") : QStringLiteral("MER");
}

void LevelChecker::setCatvMerCn(const int &merCn) { m_catvMerCn.store(merCn); }

int LevelChecker::currentChannelIndex() const { return m_currentChannelIndex.load(); }
void LevelChecker::setCurrentChannelIndex(int index) { m_currentChannelIndex.store(index); }
int LevelChecker::requestMode() const { return m_requestMode.load(); }
void LevelChecker::setRequestMode(int requestMode) { m_requestMode.store(requestMode); }
quint64 LevelChecker::identityReadout() const { return m_identityReadout.load(); }
void LevelChecker::setIdentityReadout(quint64 readout) { m_identityReadout.store(readout); }
void LevelChecker::beginIdentityPass() { m_identityPassReadout.store(m_identityReadout.load()); }
quint64 LevelChecker::identityPassReadout() const { return m_identityPassReadout.load(); }
bool LevelChecker::isMonitoring() const { return m_monitoring.load(); }
void LevelChecker::setMonitoring(bool monitoring) { m_monitoring.store(monitoring); }
bool LevelChecker::isRebootRequested() const { return m_rebootRequested.load(); }
void LevelChecker::setRebootRequested(bool requested) { m_rebootRequested.store(requested); }
int LevelChecker::measurementActive() const { return m_measurementActive.load(); }
void LevelChecker::setMeasurementActive(int active) { m_measurementActive.store(active); }
int LevelChecker::pollingLoopActive() const { return m_pollingLoopActive.load(std::memory_order_acquire); }
void LevelChecker::setPollingLoopActive(int active) { m_pollingLoopActive.store(active, std::memory_order_release); }
int LevelChecker::outstandingRequests() const { return m_outstandingRequests.load(); }
const netsnmp_pdu *LevelChecker::pendingPdu() const { return m_pendingPdu; }

// --- lists ---

ChannelSettingRow LevelChecker::channelSetting(int index) const
{
    QMutexLocker locker(&m_channelSettingsMutex);
    return m_channelSettings.value(index);
}

int LevelChecker::channelSettingCount() const
{
    QMutexLocker locker(&m_channelSettingsMutex);
    return m_channelSettings.size();
}

void LevelChecker::addChannelSetting(const ChannelSettingRow &row)
{
    QMutexLocker locker(&m_channelSettingsMutex);
    m_channelSettings.append(row);
}

void LevelChecker::clearChannelSettings()
{
    QMutexLocker locker(&m_channelSettingsMutex);
    m_channelSettings.clear();
}

void LevelChecker::replaceChannelSettings(const QVector<ChannelSettingRow> &rows)
{
    QMutexLocker locker(&m_channelSettingsMutex);
    m_channelSettings = rows;
}

AlertSettingRow LevelChecker::alertSetting(int index) const { return m_alertSettings.value(index); }
int LevelChecker::alertSettingCount() const { return m_alertSettings.size(); }
void LevelChecker::addAlertSetting(const AlertSettingRow &row) { m_alertSettings.append(row); }
void LevelChecker::clearAlertSettings() { m_alertSettings.clear(); }

ChannelResultRow LevelChecker::latestResult(int index) const { return m_latestResults.value(index); }
void LevelChecker::addLatestResult(const ChannelResultRow &row) { m_latestResults.append(row); }
void LevelChecker::clearLatestResults() { m_latestResults.clear(); }

int LevelChecker::findLatestResult(int bandTabIndex, QString channel) const
{
    for (int i = 0; i < m_latestResults.size(); ++i) {
        const ChannelResultRow &row = m_latestResults.at(i);
        if (row.bandTabIndex == bandTabIndex && row.channel == channel)
            return i;
    }
    return -1;
}

int LevelChecker::updateLatestResult(const ChannelResultRow &row)
{
    const int index = findLatestResult(row.bandTabIndex, row.channel);
    if (index >= 0)
        m_latestResults[index] = row;
    return index;
}

bool LevelChecker::isChannelSlot(int channel) const { return channel >= 0 && channel < ChannelSlotCount; }

ChannelResultRow LevelChecker::measurementHistory(int channel, int index) const
{
    if (!isChannelSlot(channel) || index < 0 || index >= m_measurementHistory.count(channel))
        return ChannelResultRow();
    return m_measurementHistory.at(channel, index);
}

int LevelChecker::measurementHistoryCount(int channel) const
{
    return isChannelSlot(channel) ? m_measurementHistory.count(channel) : 0;
}

void LevelChecker::addMeasurementHistory(const ChannelResultRow &row, int channel)
{
    if (isChannelSlot(channel))
        m_measurementHistory.append(channel, row);
}

void LevelChecker::removeMeasurementHistory(int channel, int index)
{
    if (isChannelSlot(channel) && index >= 0 && index < m_measurementHistory.count(channel))
        m_measurementHistory.removeAt(channel, index);
}

void LevelChecker::clearMeasurementHistory()
{
    m_measurementHistory.clear();
}

int LevelChecker::dropMeasurementHistoryBefore(int channel, const QDateTime &cutoff)
{
    return isChannelSlot(channel) ? m_measurementHistory.dropBefore(channel, cutoff) : 0;
}

AlertRecord LevelChecker::alertRecord(int channel, int index) const
{
    return isChannelSlot(channel) ? m_alertRecords[channel].value(index) : AlertRecord();
}

int LevelChecker::alertRecordCount(int channel) const
{
    return isChannelSlot(channel) ? m_alertRecords[channel].size() : 0;
}

void LevelChecker::addAlertRecord(const AlertRecord &record, int channel)
{
    if (isChannelSlot(channel))
        m_alertRecords[channel].append(record);
}

void LevelChecker::removeAlertRecord(int channel, int index)
{
    if (isChannelSlot(channel) && index >= 0 && index < m_alertRecords[channel].size())
        m_alertRecords[channel].removeAt(index);
}

void LevelChecker::clearAlertRecords()
{
    for (auto &list : m_alertRecords)
        list.clear();
}

int LevelChecker::dropAlertRecordsBefore(int channel, const QDateTime &cutoff)
{
    const qint64 limit = StoredResultHistory::momentStamp(cutoff);
    if (!isChannelSlot(channel) || limit < 0)
        return 0;
    QVector<AlertRecord> &records = m_alertRecords[channel];
    QVector<QString> &messages = m_errorMessages[channel];
    // A message belongs to the record at its position; messages past the last record stay.
    int kept = 0;
    int keptMessages = 0;
    const int count = records.size();
    const int messageEnd = qMin(messages.size(), count);
    for (int k = 0; k < count; ++k) {
        const qint64 stamp = StoredResultHistory::leadingMomentStamp(records.at(k).dateTime);
        if (stamp >= 0 && stamp < limit)
            continue;
        if (kept != k)
            records[kept] = std::move(records[k]);
        ++kept;
        if (k < messageEnd) {
            if (keptMessages != k)
                messages[keptMessages] = std::move(messages[k]);
            ++keptMessages;
        }
    }
    const int dropped = count - kept;
    if (dropped == 0)
        return 0;
    records.erase(records.begin() + kept, records.end());
    records.squeeze();
    // Messages at dropped positions go; those past the last record move up.
    messages.erase(messages.begin() + keptMessages, messages.begin() + messageEnd);
    messages.squeeze();
    return dropped;
}

QString LevelChecker::errorMessage(int channel, int index) const
{
    return isChannelSlot(channel) ? m_errorMessages[channel].value(index) : QString();
}

int LevelChecker::errorMessageCount(int channel) const
{
    return isChannelSlot(channel) ? m_errorMessages[channel].size() : 0;
}

QString LevelChecker::joinedErrorMessages(int channel) const
{
    QString joined;
    if (isChannelSlot(channel)) {
        for (const QString &message : m_errorMessages[channel])
            joined += message;
    }
    return joined;
}

void LevelChecker::addErrorMessage(QString message, int channel)
{
    if (isChannelSlot(channel))
        m_errorMessages[channel].append(std::move(message));
}

void LevelChecker::removeErrorMessage(int channel, int index)
{
    if (isChannelSlot(channel) && index >= 0 && index < m_errorMessages[channel].size())
        m_errorMessages[channel].removeAt(index);
}

void LevelChecker::clearErrorMessages()
{
    for (auto &list : m_errorMessages)
        list.clear();
}

void LevelChecker::moveStoredResultsToChannelSettings(int positionCount)
{
    const int positions = qBound(0, positionCount, int(ChannelSlotCount));
    QVector<QVector<int>> sources(ChannelSlotCount);
    std::array<QVector<AlertRecord>, ChannelSlotCount> records;
    std::array<QVector<QString>, ChannelSlotCount> messages;
    QVector<ChannelSettingRow> plan;
    {
        QMutexLocker locker(&m_channelSettingsMutex);
        plan = m_channelSettings;
    }
    const int settings = qMin(plan.size(), positions);
    for (int target = 0; target < settings; ++target) {
        const ChannelSettingRow &setting = plan.at(target);
        for (int source = 0; source < positions; ++source) {
            if (m_measurementHistory.count(source) == 0)
                continue;
            const ChannelResultRow first = m_measurementHistory.at(source, 0);
            if (first.bandTabIndex != setting.bandTabIndex || first.channel != setting.channel)
                continue;
            sources[target].append(source);
            records[target] += m_alertRecords[source];
            messages[target] += m_errorMessages[source];
        }
    }
    m_measurementHistory.regroup(sources);
    m_alertRecords = std::move(records);
    m_errorMessages = std::move(messages);
}

void LevelChecker::stopTimer()
{
    QTextStream out(stdout);
    out.setCodec(QTextCodec::codecForName("Shift-JIS"));
    const QString threadId = QStringLiteral("thread id: 0x%1")
                                 .arg(quintptr(QThread::currentThreadId()));
    out << QStringLiteral("%1 [%2] Timer Stop %3")
               .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd hh:mm:ss.zzz")),
                    objectName(), threadId)
        << '\n';
    out.flush();

    if (!m_timer)
        return;
    disconnect(m_timer, &QTimer::timeout, this, nullptr);
    if (m_timer->isActive())
        m_timer->stop();
    delete m_timer;
    m_timer = nullptr;
}

// --- SNMP exchange ---

int LevelChecker::parseOidText(QString text, unsigned long *out)
{
    // The parts between the dots, the first skipped, without a list of texts: this runs for
    // every variable of every request.
    const QChar *data = text.constData();
    const int size = text.size();
    int start = text.indexOf(QLatin1Char('.'));
    int count = 0;
    while (start >= 0 && count < MaxOidLength) {
        const int from = start + 1;
        const int next = text.indexOf(QLatin1Char('.'), from);
        const int end = next < 0 ? size : next;
        out[count++] = subIdentifier(data + from, end - from); // 0 when the part is no number
        start = next;
    }
    return count;
}

void LevelChecker::addPduVariable(bool isSet, QString oidText, char type, QString value, bool newPdu)
{
    if (newPdu) {
        // A PDU that was built and never sent would otherwise be lost.
        if (m_pendingPdu)
            snmp_free_pdu(m_pendingPdu);
        m_pendingPdu = snmp_pdu_create(isSet ? SNMP_MSG_SET : SNMP_MSG_GET);
    }
    if (!m_pendingPdu)
        return;

    oid name[MaxOidLength];
    const int length = parseOidText(oidText, name);
    if (length == 0)
        return;
    if (isSet) {
        const QByteArray text = value.toLocal8Bit();
        snmp_add_var(m_pendingPdu, name, size_t(length), type, text.constData());
    } else {
        snmp_add_null_var(m_pendingPdu, name, size_t(length));
    }
}

int LevelChecker::createSession(SnmpSessionSlot &slot, const char *host, const char *community)
{
    std::lock_guard<std::recursive_mutex> lock(SnmpLibrary::sessionMutex());
    if (slot.handle) {
        snmp_sess_close(slot.handle);
        slot.handle = nullptr;
    }
    snmp_sess_init(&slot.session);

    // An address text is plain ASCII, which the local 8-bit encoding keeps as it is; any
    // other text takes the way through the encoding.
    const QByteArray hostText(host ? host : "");
    const bool plain = std::all_of(hostText.cbegin(), hostText.cend(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const QByteArray peer = plain ? hostText + ':' + QByteArray::number(port())
                                  : QStringLiteral("%1:%2")
                                        .arg(QString::fromLocal8Bit(hostText))
                                        .arg(port())
                                        .toLocal8Bit();
    const QByteArray communityText(community ? community : "");
    // snmp_sess_open copies the peer name and the community.
    slot.session.version = SNMP_VERSION_2c;
    slot.session.retries = 0;
    slot.session.peername = const_cast<char *>(peer.constData());
    slot.session.community = reinterpret_cast<u_char *>(const_cast<char *>(communityText.constData()));
    slot.session.community_len = size_t(communityText.size());
    slot.session.securityModel = SNMP_SEC_MODEL_SNMPv2c;
    slot.session.callback = &LevelChecker::snmpCallback;
    slot.session.callback_magic = this;

    slot.handle = snmp_sess_open(&slot.session);
    slot.session.peername = nullptr;
    slot.session.community = nullptr;
    slot.session.community_len = 0;
    return 0;
}

int LevelChecker::sendRequest(int deviceIndex, const char *host, const char *community)
{
    Q_UNUSED(deviceIndex)
    SnmpSessionSlot slot;
    createSession(slot, host, community);

    SendResult result = SendResult::Replied;
    netsnmp_pdu *pdu = m_pendingPdu;
    m_pendingPdu = nullptr;
    if (slot.handle && pdu
        && snmp_sess_async_send(slot.handle, pdu, &LevelChecker::snmpCallback, this) != 0) {
        ++m_outstandingRequests;

        fd_set readSet;
        FD_ZERO(&readSet);
        int fdCount = 0;
        int block = 1;
        timeval timeout {};
        snmp_sess_select_info(slot.handle, &fdCount, &readSet, &timeout, &block);
        // One wait of our own length, whatever the library proposes.
        timeout.tv_sec = ReplyWaitSeconds;
        timeout.tv_usec = 0;
        const int ready = select(fdCount, &readSet, nullptr, nullptr, &timeout);
        if (ready > 0) {
            snmp_sess_read(slot.handle, &readSet);
        } else if (ready == 0) {
            snmp_sess_timeout(slot.handle);
            result = SendResult::NoAnswer;
        } else {
            std::perror("select failed");
        }

        // The callback only runs inside the library calls above, so this wait cannot
        // complete a request; it only bounds the delay before the session is closed.
        for (int step = 0; m_outstandingRequests.load() > 0; ++step) {
            if (step == OutstandingWaitSteps) {
                m_outstandingRequests.store(0);
                break;
            }
            PlatformSleep::sleepMs(OutstandingWaitStepMs);
        }
    } else {
        snmp_perror("snmp_send");
        if (pdu)
            snmp_free_pdu(pdu);
        result = SendResult::NotSent;
    }

    if (slot.handle) {
        std::lock_guard<std::recursive_mutex> lock(SnmpLibrary::sessionMutex());
        // Hands a request still pending to the callback as timed out.
        snmp_sess_close(slot.handle);
        slot.handle = nullptr;
    }
    return int(result);
}

int LevelChecker::snmpCallback(int operation, netsnmp_session *session, int reqid, netsnmp_pdu *pdu,
                               void *magic)
{
    Q_UNUSED(reqid)
    auto *device = static_cast<LevelChecker *>(magic);
    if (!device)
        return 1;

    // In measurement mode only the result object becomes text; the replies to the
    // configuration SETs are dropped.
    if (device->requestMode() != int(RequestMode::Information) && !isMeasResultVariable(pdu)) {
        device->m_outstandingRequests.store(0);
        return 1;
    }
    if (operation == OperationReceived) {
        device->print_result(0, session, pdu);
        device->m_outstandingRequests.store(0);
        return 1;
    }
    if (operation == OperationResend)
        return 0;
    device->print_result(2, session, pdu);
    device->m_outstandingRequests.store(0);
    return 1;
}

int LevelChecker::renderVariable(char *buffer, std::size_t size, const netsnmp_variable_list *variable)
{
    if (!buffer || size == 0)
        return 0;
    // A rendering that does not fit returns -1 and may leave the buffer unterminated and
    // partly unwritten: start from zeros and always end the text inside the buffer.
    std::memset(buffer, 0, size);
    if (variable)
        snprint_variable(buffer, size, variable->name, variable->name_length, variable);
    buffer[size - 1] = '\0';
    return int(std::strlen(buffer));
}

int LevelChecker::print_result(int status, netsnmp_session *session, netsnmp_pdu *pdu)
{
    if (!isMonitoring())
        return 0;

    std::fprintf(stdout, "%s: ", "print_result");
    QByteArray peer("adress_err");
    if (session && session->peername) {
        const QByteArray name(session->peername);
        const int colon = name.indexOf(':');
        if (name.size() <= 16 || colon > 0)
            peer = name;
    }
    const QString peerName = QString::fromLocal8Bit(peer);
    const int channelIndex = currentChannelIndex();

    if (status == 2) {
        std::fprintf(stdout, "%s: Timeout,%d\n", peer.constData(), channelIndex);
        std::fflush(stdout);
        emitResponse(peerName, QStringLiteral("Timeout,%1\n").arg(channelIndex));
        return 0;
    }
    if (!pdu) {
        std::fflush(stdout);
        return 0;
    }

    char buffer[RenderBufferSize];
    if (pdu->errstat != SNMP_ERR_NOERROR) {
        const netsnmp_variable_list *variable = pdu->variables;
        for (long i = 1; variable && i != pdu->errindex; ++i)
            variable = variable->next_variable;
        if (variable) {
            std::memset(buffer, 0, sizeof buffer);
            snprint_objid(buffer, sizeof buffer, variable->name, variable->name_length);
            buffer[sizeof buffer - 1] = '\0';
        } else {
            std::snprintf(buffer, sizeof buffer, "%s", "(none)");
        }
        std::fprintf(stdout, "%s: %s: %s\n", peer.constData(), buffer, snmp_errstring(int(pdu->errstat)));
        std::fflush(stdout);
        emitResponse(peerName, QStringLiteral("Error,%1\n").arg(channelIndex));
        return 0;
    }

    std::fflush(stdout);
    for (const netsnmp_variable_list *variable = pdu->variables; variable;
         variable = variable->next_variable) {
        const int length = renderVariable(buffer, sizeof buffer, variable);
        emitResponse(peerName, QString::fromLocal8Bit(buffer, length));
    }
    return 0;
}

void LevelChecker::emitResponse(const QString &peerName, const QString &response)
{
    if (requestMode() == int(RequestMode::Information))
        emit notifyRcvInfomationToList(peerName, response);
    else
        emit notifyRcvToList(peerName, response);
}

void LevelChecker::holdRegistrationLine(const QString &line, const QString &key)
{
    m_heldRegistrationLine = line;
    m_heldRegistrationKey = key;
}

QString LevelChecker::heldRegistrationLine() const
{
    return m_heldRegistrationLine;
}

QString LevelChecker::heldRegistrationKey() const
{
    return m_heldRegistrationKey;
}
