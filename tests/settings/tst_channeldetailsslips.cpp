// ctest-label: settings
// The channel details screen's bulk pop-ups worked as the operator works them: tick a row,
// open the pop-up with its button, choose every channel or the ticked ones with the radio
// buttons, and confirm; only the chosen rows change. And the default thresholds of every
// band, which a channel without thresholds in the alert file gets.
#include "DetailsHost.h"

#include "core/SharedTypes.h"

#include <QtTest>

namespace {

// Three CATV channels in the ISDBT standard and a terrestrial one, all measured.
const QByteArray WorkingRows = "5,C13,111143,0,0,0,1\n"
                               "5,C14,117143,0,0,0,1\n"
                               "5,C15,123143,0,0,0,1\n"
                               "0,13,473143,0,0,0,1\n";

} // namespace

class TestChannelDetailsSlips : public QObject
{
    Q_OBJECT

    DetailsHost fx;

    QQuickItem *pageItem(const QString &name) const { return qobject_cast<QQuickItem *>(fx.pageChild(name)); }

    void click(QQuickItem *item) const
    {
        QVERIFY(item);
        // The page lays its list out in more than one pass: click where the control has come
        // to rest, as the operator would.
        QPointF centre;
        QPointF last(-1, -1);
        int still = 0;
        QTRY_VERIFY([&] {
            centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
            still = centre == last ? still + 1 : 0;
            last = centre;
            return item->isVisible() && item->width() > 0 && still >= 2;
        }());
        QTest::mouseClick(fx.host->window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    }

    // Ticks row `row` with its own check box.
    void tickRow(int row)
    {
        QObject *rowItem = fx.pageChild(QStringLiteral("channelRow%1").arg(row));
        QVERIFY(rowItem);
        auto *box = qobject_cast<QQuickItem *>(DetailsHost::find(rowItem, QStringLiteral("individualcheck")));
        click(box);
        QTRY_VERIFY(fx.details()->shownRows().at(row).selected);
    }

    void openPage()
    {
        QVERIFY(fx.writePlan(1, ChannelSettingFile::Copy::Working, WorkingRows));
        QVERIFY(fx.open(1, QStringLiteral("本社"), ScreenDeviceSetting));
        QCOMPARE(fx.topPageName(), QStringLiteral("ChannelDetails"));
        QVERIFY(QTest::qWaitForWindowExposed(fx.host->window)
                || QGuiApplication::platformName() == QLatin1String("offscreen"));
    }

    QStringList column(int index) const
    {
        QStringList texts;
        for (int r = 0; r < 4; ++r)
            texts.append(fx.modelRow(r).at(index));
        return texts;
    }

private slots:
    void initTestCase()
    {
        QmlMessageGuard::install();
        QVERIFY(fx.start());
        QVERIFY(fx.addDevice(QStringLiteral("本社")));
    }

    void cleanup()
    {
        fx.closePopups();
        fx.goHome();
        for (auto copy : {ChannelSettingFile::Copy::Committed, ChannelSettingFile::Copy::Working,
                          ChannelSettingFile::Copy::Pending})
            ChannelSettingFile::removeCopy(1, copy);
        for (auto copy : {AlertSettingFile::Copy::Committed, AlertSettingFile::Copy::Pending})
            AlertSettingFile::removeCopy(1, copy);
        const QStringList bad = QmlMessageGuard::take();
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }

    void cleanupTestCase() { fx.host.reset(); }

    void defaultThresholds_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<QStringList>("expected"); // levels, MER/CN, BER, optical levels, converted C/N
        const auto row = [](const char *name, int band, const char *levelMin, const char *levelMax, const char *mer,
                            const char *ber, const char *convertCnr) {
            QTest::newRow(name) << band
                                << QStringList {QString::fromUtf8(levelMin), QString::fromUtf8(levelMax), QString::fromUtf8(mer),
                                                QString::fromUtf8(ber), QStringLiteral("-10.0"), QStringLiteral("0.0"),
                                                QString::fromUtf8(convertCnr)};
        };
        row("terrestrial", BandTerrestrial, "47.0", "90.0", "20.0", "2.0E-4", "20.0");
        row("BS right", BandBsRight, "50.0", "81.0", "9.0", "2.0E-4", "---");
        row("BS left", BandBsLeft, "50.0", "81.0", "9.0", "2.0E-4", "---");
        row("CS right", BandCsRight, "50.0", "81.0", "6.0", "2.0E-4", "---");
        row("CS left", BandCsLeft, "50.0", "81.0", "6.0", "2.0E-4", "---");
        row("CATV", BandCatv, "49.0", "81.0", "26.0", "2.0E-4", "20.0");
        row("optical service", BandSkyperfectv, "57.0", "81.0", "30.0", "2.0E-4", "---");
        row("CATV upstream", BandCatvUpstream, "60.0", "90.0", "---", "---", "---");
        row("JCSAT-3A horizontal", BandJcsat3aHorizontal, "50.0", "81.0", "7.0", "2.0E-4", "---");
        row("JCSAT-3A vertical", BandJcsat3aVertical, "50.0", "81.0", "7.0", "2.0E-4", "---");
        row("JCSAT-4B horizontal", BandJcsat4bHorizontal, "50.0", "81.0", "7.0", "2.0E-4", "---");
        row("JCSAT-4B vertical", BandJcsat4bVertical, "50.0", "81.0", "7.0", "2.0E-4", "---");
        row("SCC-B horizontal", BandSccBHorizontal, "50.0", "81.0", "7.0", "2.0E-4", "---");
        row("SCC-B vertical", BandSccBVertical, "50.0", "81.0", "7.0", "2.0E-4", "---");
        row("SCC-C horizontal", BandSccCHorizontal, "50.0", "81.0", "7.0", "2.0E-4", "---");
        row("SCC-C vertical", BandSccCVertical, "50.0", "81.0", "7.0", "2.0E-4", "---");
        row("LTE", BandLte, "20.0", "120.0", "---", "---", "---");
        row("FM", BandFm, "20.0", "120.0", "---", "---", "---");
        row("pilot", BandPilot, "50.0", "90.0", "---", "---", "---");
        QTest::newRow("no band") << int(BandCount) << QStringList {"", "", "", "", "", "", ""};
    }

    void defaultThresholds()
    {
        QFETCH(int, band);
        QFETCH(QStringList, expected);
        const ChannelDetailsEntry entry = ChannelDetailsViewModel::defaultThresholds(band);
        QCOMPARE((QStringList {entry.levelMin, entry.levelMax, entry.merCn, entry.ber, entry.hikariLevelMin,
                               entry.hikariLevelMax, entry.convertCnr}),
                 expected);
    }

    void catvBulkPopup_data()
    {
        QTest::addColumn<QString>("scope");
        QTest::addColumn<QStringList>("standards");
        // The pop-up offers ISDBC first.
        QTest::newRow("ticked channels") << QStringLiteral("checkOnlyCatv")
                                         << QStringList {QStringLiteral("ISDBT"), QStringLiteral("ISDBC"), QStringLiteral("ISDBT")};
        QTest::newRow("every channel") << QStringLiteral("allCatv")
                                       << QStringList {QStringLiteral("ISDBC"), QStringLiteral("ISDBC"), QStringLiteral("ISDBC")};
    }

    void catvBulkPopup()
    {
        QFETCH(QString, scope);
        QFETCH(QStringList, standards);
        openPage();
        const QStringList before = column(4);
        QCOMPARE(before.mid(0, 3), (QStringList {QStringLiteral("ISDBT"), QStringLiteral("ISDBT"), QStringLiteral("ISDBT")}));
        tickRow(1);
        click(pageItem(QStringLiteral("catvBulkButton")));
        QObject *popup = fx.pageChild(QStringLiteral("catvchange"));
        QVERIFY(popup);
        QTRY_VERIFY(popup->property("opened").toBool());
        click(qobject_cast<QQuickItem *>(popup->findChild<QObject *>(scope)));
        click(qobject_cast<QQuickItem *>(popup->findChild<QObject *>(QStringLiteral("catvYesButton"))));
        QTRY_VERIFY(!popup->property("visible").toBool());
        QCOMPARE(column(4).mid(0, 3), standards);
        // The terrestrial channel has no CATV standard to change.
        QCOMPARE(column(4).at(3), before.at(3));
    }

    void alertBulkPopup_data()
    {
        QTest::addColumn<QString>("scope");
        QTest::addColumn<QList<bool>>("changed");
        QTest::newRow("ticked channels") << QStringLiteral("alertcheck") << QList<bool> {false, true, false, false};
        QTest::newRow("every channel") << QStringLiteral("alertall") << QList<bool> {true, true, true, true};
    }

    void alertBulkPopup()
    {
        QFETCH(QString, scope);
        QFETCH(QList<bool>, changed);
        openPage();
        const int levelMin = 7; // the lower level threshold's column
        const QStringList before = column(levelMin);
        QVERIFY(!before.contains(QStringLiteral("55.0")));
        tickRow(1);
        click(pageItem(QStringLiteral("alertBulkButton")));
        QObject *popup = fx.pageChild(QStringLiteral("alertPopup"));
        QVERIFY(popup);
        QTRY_VERIFY(popup->property("opened").toBool());
        // The operator types the new lower level.
        auto *field = qobject_cast<QQuickItem *>(popup->findChild<QObject *>(QStringLiteral("levelMinText")));
        click(field);
        QTRY_VERIFY(field->hasActiveFocus());
        QTest::keyClick(fx.host->window, Qt::Key_A, Qt::ControlModifier);
        for (const char key : QByteArray("55.0"))
            QTest::keyClick(fx.host->window, key);
        QCOMPARE(field->property("text").toString(), QStringLiteral("55.0"));
        click(qobject_cast<QQuickItem *>(popup->findChild<QObject *>(scope)));
        click(qobject_cast<QQuickItem *>(popup->findChild<QObject *>(QStringLiteral("alertYesButton"))));
        QTRY_VERIFY(!popup->property("visible").toBool());
        const QStringList after = column(levelMin);
        for (int r = 0; r < 4; ++r)
            QCOMPARE(after.at(r), changed.at(r) ? QStringLiteral("55.0") : before.at(r));
    }
};

QTEST_MAIN(TestChannelDetailsSlips)
#include "tst_channeldetailsslips.moc"
