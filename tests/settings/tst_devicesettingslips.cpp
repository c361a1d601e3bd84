// ctest-label: settings
// The device registration screen where a plausible slip went unnoticed: an address edit whose
// first part is past 223, the table's choice columns as the page shows them, a change of the
// wavelength alone at the apply, an identity reply after the readout ended, and the bulk
// pop-up's choice between every row and the ticked ones, each worked through the page.
#include "settings/DeviceSettingPage.h"
#include "monitor/LevelChecker.h"

#include <QQuickItem>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

const QByteArray Header = QStringLiteral("No,名称,IPアドレス,同軸/光,サイクル間隔,測定開始時間,測定終了時間,光波長,"
                                         "シリアルナンバー,MACアドレス,バージョン,測定状態,MER/CN(地デジ),MER/CN(CATV)\n")
                              .toUtf8();

// A registered device with its identity known, not measuring; port 9 of loopback answers
// no SNMP, so a readout ends by its bound.
QByteArray line(int no, const QString &type, const QString &cycle, const QString &wavelength)
{
    return QStringLiteral("%1,機%1,127.0.0.%1:9,%2,%3,常時,常時,%4,SN%1,MAC%1,FW%1,0,MER,MER\n")
        .arg(no)
        .arg(type, cycle, wavelength)
        .toUtf8();
}

// Items made by a repeater have no object parent: search the visual tree.
void collect(QQuickItem *from, const std::function<bool(QQuickItem *)> &match, QList<QQuickItem *> *found)
{
    if (!from)
        return;
    if (match(from))
        found->append(from);
    for (QQuickItem *child : from->childItems())
        collect(child, match, found);
}

QQuickItem *firstItem(QQuickItem *from, const std::function<bool(QQuickItem *)> &match)
{
    QList<QQuickItem *> found;
    collect(from, match, &found);
    return found.value(0);
}

} // namespace

class TestDeviceSettingSlips : public QObject, DeviceSettingPage
{
    Q_OBJECT

    void open(const QByteArray &registration)
    {
        QVERIFY(DeviceSettingPage::open(registration));
        vm()->setReadoutBoundMs(500);
    }

    // The delegate of table row `row`.
    QQuickItem *rowItem(int row) const
    {
        return firstItem(page(), [row](QQuickItem *item) {
            return item->property("cycleInterval").isValid() && item->property("rowindex").toInt() == row;
        });
    }

    QQuickItem *withText(const QString &text) const
    {
        return firstItem(qobject_cast<QQuickItem *>(host->window->contentItem()),
                         [&text](QQuickItem *item) {
                             return item->property("text").toString() == text && item->isVisible()
                                    && item->metaObject()->indexOfSignal("clicked()") >= 0;
                         });
    }

private slots:
    void initTestCase() { QmlMessageGuard::install(); }

    void cleanupTestCase() { close(); }

    // Each case opens the screen afresh (open()); the address cases share one.
    void cleanup()
    {
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }

    // An address typed into a row is judged at once, before any apply: the first part must
    // be 1-223, the others 0-255.
    void rowEditAddress_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("popup");
        QTest::newRow("first part 223") << QStringLiteral("223.255.255.254") << 0;
        QTest::newRow("first part 224") << QStringLiteral("224.  0.  0.  1") << 8;
        QTest::newRow("first part 239") << QStringLiteral("239.  1.  1.  1") << 8;
        QTest::newRow("first part 255") << QStringLiteral("255.255.255.255") << 8;
        QTest::newRow("first part 0") << QStringLiteral("  0.  1.  1.  1") << 8;
        QTest::newRow("last part 256") << QStringLiteral("  1.  2.  3.256") << 9;
        QTest::newRow("loopback") << QStringLiteral("127.  0.  0.  1") << 0;
    }

    void rowEditAddress()
    {
        QFETCH(QString, typed);
        QFETCH(int, popup);
        if (!host)
            open(Header + line(1, QStringLiteral("同軸"), QStringLiteral("連続"), QStringLiteral("1550")));
        QSignalSpy popups(vm(), &DeviceSettingViewModel::openPopup);
        edit("changeipaddress", typed, 0);
        QCOMPARE(popups.size(), popup ? 1 : 0);
        if (popup)
            QCOMPARE(popups.first().at(0).toInt(), popup);
        QCOMPARE(vm()->hasIpAddressError(), popup != 0);
    }

    // Each row's choice columns show that row's own type, wavelength and cycle.
    void tableShowsEachRowsChoices()
    {
        open(Header + line(1, QStringLiteral("同軸"), QStringLiteral("5分"), QStringLiteral("1310"))
             + line(2, QStringLiteral("光"), QStringLiteral("60分"), QStringLiteral("1625"))
             + line(3, QStringLiteral("同軸"), QStringLiteral("15分"), QStringLiteral("1490")));
        const QList<QStringList> expected {{QStringLiteral("同軸"), QStringLiteral("1310nm"), QStringLiteral("5分")},
                                           {QStringLiteral("光"), QStringLiteral("1625nm"), QStringLiteral("60分")},
                                           {QStringLiteral("同軸"), QStringLiteral("1490nm"), QStringLiteral("15分")}};
        for (int row = 0; row < expected.size(); ++row) {
            QQuickItem *item = rowItem(row);
            QVERIFY(item);
            QList<QQuickItem *> combos;
            collect(item, [](QQuickItem *child) { return child->property("shown").isValid(); }, &combos);
            QStringList shown;
            for (QQuickItem *combo : qAsConst(combos))
                shown.append(combo->property("displayText").toString());
            QCOMPARE(shown, expected.at(row));
        }
    }

    // A change of the wavelength alone is handed to the device at the apply.
    void wavelengthOnlyChangeReachesTheDevice()
    {
        open(Header + line(1, QStringLiteral("光"), QStringLiteral("連続"), QStringLiteral("1550"))
             + line(2, QStringLiteral("光"), QStringLiteral("連続"), QStringLiteral("1550")));
        QCOMPARE(devices()->device(1)->wavelengthText(), QStringLiteral("1550"));
        edit("comhikariwavelength", QStringLiteral("1310"), 1);
        QCOMPARE(cell(1, DeviceSettingModel::HikariWaveLengthRole), QStringLiteral("1310"));
        QVERIFY(vm()->applySettings(false));
        QCOMPARE(devices()->device(1)->wavelengthText(), QStringLiteral("1310"));
        QCOMPARE(devices()->device(0)->wavelengthText(), QStringLiteral("1550"));
        QTRY_VERIFY_WITH_TIMEOUT(!vm()->isReadoutRunning(), 20000);
        QVERIFY(root->readFile(root->registrationPath()).contains(",1310,"));
    }

    // A reply that arrives after the readout ended by its bound changes nothing.
    void identityReplyAfterTheReadoutIsIgnored()
    {
        open(Header + line(1, QStringLiteral("同軸"), QStringLiteral("連続"), QStringLiteral("1550")));
        edit("nameinputrow", QStringLiteral("改名"), 0);
        QVERIFY(vm()->applySettings(false));
        QVERIFY(vm()->isReadoutRunning());
        QTRY_VERIFY_WITH_TIMEOUT(!vm()->isReadoutRunning(), 20000);
        const QString serial = devices()->device(0)->serialNumber();
        const QByteArray file = root->readFile(root->registrationPath());
        QSignalSpy popups(vm(), &DeviceSettingViewModel::openPopup);
        vm()->onInformationResponse(0, QStringLiteral("VEDIRUDO-ZER::lcSerialnum.0 = STRING: LATE"));
        vm()->onInformationResponse(0, QStringLiteral("VEDIRUDO-ZER::lcOptionID.0 = INTEGER: 1"));
        QCOMPARE(devices()->device(0)->serialNumber(), serial);
        QVERIFY(serial != QLatin1String("LATE"));
        QCOMPARE(root->readFile(root->registrationPath()), file);
        QVERIFY(!vm()->isReadoutRunning());
        QCOMPARE(popups.size(), 0);
    }

    // The bulk pop-up, as the operator works it: tick a row, open the pop-up with its button,
    // pick every row or the ticked ones with the radio buttons, and confirm.
    void bulkPopupChoosesItsRows_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("scope");
        QTest::addColumn<int>("role");
        QTest::addColumn<QStringList>("after");
        const QString ticked = QStringLiteral("選択した機器のみ");
        const QString every = QStringLiteral("全ての機器");
        const QString cycle = QStringLiteral("サイクル間隔 一括変更");
        const QString type = QStringLiteral("同軸/光 一括変更");
        const QString wavelength = QStringLiteral("光波長 一括変更");
        // The pop-up opens on its first choice: 連続, 同軸, 1300.
        QTest::newRow("cycle, ticked") << cycle << ticked << int(DeviceSettingModel::CycleIntervalRole)
                                       << QStringList {QStringLiteral("5分"), QStringLiteral("連続"), QStringLiteral("60分")};
        QTest::newRow("cycle, every row") << cycle << every << int(DeviceSettingModel::CycleIntervalRole)
                                          << QStringList {QStringLiteral("連続"), QStringLiteral("連続"), QStringLiteral("連続")};
        QTest::newRow("type, ticked") << type << ticked << int(DeviceSettingModel::InputtypeRole)
                                      << QStringList {QStringLiteral("光"), QStringLiteral("同軸"), QStringLiteral("光")};
        QTest::newRow("wavelength, ticked") << wavelength << ticked << int(DeviceSettingModel::HikariWaveLengthRole)
                                            << QStringList {QStringLiteral("1550"), QStringLiteral("1300"), QStringLiteral("1550")};
        QTest::newRow("wavelength, every row") << wavelength << every << int(DeviceSettingModel::HikariWaveLengthRole)
                                               << QStringList {QStringLiteral("1300"), QStringLiteral("1300"), QStringLiteral("1300")};
    }

    void bulkPopupChoosesItsRows()
    {
        QFETCH(QString, button);
        QFETCH(QString, scope);
        QFETCH(int, role);
        QFETCH(QStringList, after);
        open(Header + line(1, QStringLiteral("光"), QStringLiteral("5分"), QStringLiteral("1550"))
             + line(2, QStringLiteral("光"), QStringLiteral("15分"), QStringLiteral("1550"))
             + line(3, QStringLiteral("光"), QStringLiteral("60分"), QStringLiteral("1550")));
        QVERIFY(QTest::qWaitForWindowExposed(host->window) || QGuiApplication::platformName() == QLatin1String("offscreen"));
        QQuickItem *second = rowItem(1);
        QVERIFY(second);
        clickItem(firstItem(second, [](QQuickItem *item) { return item->objectName() == QLatin1String("rowCheckBox"); }));
        QTRY_VERIFY(vm()->currentEditRecords().at(1).checked);
        clickItem(withText(button));
        auto *popup = host->window->findChild<QObject *>(QStringLiteral("bulkPopup"));
        QVERIFY(popup);
        QTRY_VERIFY(popup->property("opened").toBool());
        clickItem(withText(scope));
        clickItem(qobject_cast<QQuickItem *>(host->window->findChild<QObject *>(QStringLiteral("bulkYes"))));
        QTRY_VERIFY(!popup->property("visible").toBool());
        QStringList shown;
        for (int row = 0; row < 3; ++row)
            shown.append(cell(row, role));
        QCOMPARE(shown, after);
    }
};

QTEST_MAIN(TestDeviceSettingSlips)
#include "tst_devicesettingslips.moc"
