// ctest-label: core
// What the seven list models share: role tables, data/setData conversions, refused writes,
// clear and the capacity hint.
#include "core/ChannelDetailsModel.h"
#include "core/DeviceSettingModel.h"
#include "core/IndividualResultListModel.h"
#include "core/IndividualResultsModel.h"
#include "core/InformationListModel.h"
#include "core/MeasureResultModel.h"
#include "core/StatusErrorModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// How one model is made, filled and emptied, and what its roles are. Role kinds, one letter
// per role in id order: t text, b flag, u flag written as a number, i integer, d double.
struct ModelKind
{
    QString name;
    int firstRole;
    QStringList roleNames;
    QString roleKinds;
    std::function<QAbstractItemModel *()> make;
    std::function<void(QAbstractItemModel *, const QString &key)> addRow; // empty: no rows
    std::function<void(QAbstractItemModel *)> clear;
    std::function<void(QAbstractItemModel *, int)> setCapacity;
    bool clearResets = false;
};

template <class M>
M *as(QAbstractItemModel *model)
{
    return qobject_cast<M *>(model);
}

const QVector<ModelKind> &modelKinds()
{
    static const QVector<ModelKind> kinds = {
        {QStringLiteral("MeasureResultModel"), 257,
         QStringList{"latestData", "topDataVisible", "updateData", "no", "measurementStart",
                     "deviceNo", "name", "datatime", "band", "channel", "frequency", "level",
                     "mer", "ber", "hikari", "status", "channelStatus", "checkbox",
                     "statusPoopupCheckbox", "settingcheck", "display", "clicked",
                     "statusPopupClicked", "errorLevel", "errorMer", "errorBer", "errorHikari",
                     "broadbandSystem", "localFrequency", "modulation", "layer", "polarization"},
         QStringLiteral("uuuttttttttttttiiiitbbbbbbbttttt"),
         [] { return new MeasureResultModel; },
         [](QAbstractItemModel *m, const QString &key) {
             MeasureResultRow row;
             row.no = key;
             as<MeasureResultModel>(m)->addRow(row);
         },
         [](QAbstractItemModel *m) { as<MeasureResultModel>(m)->clear(); },
         [](QAbstractItemModel *m, int c) { as<MeasureResultModel>(m)->setCapacity(c); }, true},
        {QStringLiteral("StatusErrorModel"), 257,
         QStringList{"deviceNo", "band", "channel", "datatime", "level", "mer", "ber",
                     "errorLevel", "errorMer", "errorBer", "alertLevelMin", "alertLevelMax",
                     "alertMer", "alertBer", "display", "clicked"},
         QStringLiteral("tttttttbbbttttbb"),
         [] { return new StatusErrorModel; }, nullptr, nullptr, nullptr, false},
        {QStringLiteral("ChannelDetailsModel"), 276,
         QStringList{"channelNo", "BandName", "ChannelName", "Frequencycode", "Broadband",
                     "LocalFrequency", "PowerSupply", "LevelMin", "LevelMax", "Mer", "Ber",
                     "HikariLevelMin", "HikariLevelMax", "ConvCNR"},
         QStringLiteral("tttttttttttttt"),
         [] { return new ChannelDetailsModel; },
         [](QAbstractItemModel *m, const QString &key) {
             ChannelDetailsRow row;
             row.channelNo = key;
             as<ChannelDetailsModel>(m)->addRow(row);
         },
         [](QAbstractItemModel *m) { as<ChannelDetailsModel>(m)->clear(); },
         [](QAbstractItemModel *m, int c) { as<ChannelDetailsModel>(m)->setCapacity(c); }, false},
        {QStringLiteral("DeviceSettingModel"), 276,
         QStringList{"deviceno", "devicename", "ipaddress", "inputtype", "settingfile",
                     "validtime", "cycleInterval", "hikariWaveLength"},
         QStringLiteral("tttttttt"),
         [] { return new DeviceSettingModel; },
         [](QAbstractItemModel *m, const QString &key) {
             DeviceSettingRow row;
             row.deviceno = key;
             as<DeviceSettingModel>(m)->addRow(row);
         },
         [](QAbstractItemModel *m) { as<DeviceSettingModel>(m)->clear(); },
         [](QAbstractItemModel *m, int c) { as<DeviceSettingModel>(m)->setCapacity(c); }, false},
        {QStringLiteral("InformationListModel"), 266,
         QStringList{"infodeviceno", "infodevicename", "infoipaddress", "infoserialnumber",
                     "infomacaddress", "infofwversion"},
         QStringLiteral("tttttt"),
         [] { return new InformationListModel; },
         [](QAbstractItemModel *m, const QString &key) {
             InformationListRow row;
             row.infodeviceno = key;
             as<InformationListModel>(m)->addRow(row);
         },
         [](QAbstractItemModel *m) { as<InformationListModel>(m)->clear(); },
         [](QAbstractItemModel *m, int c) { as<InformationListModel>(m)->setCapacity(c); }, false},
        {QStringLiteral("IndividualResultListModel"), 306,
         QStringList{"date", "level", "mer", "ber", "levelerror", "mererror", "bererror",
                     "selectflag", "broadcast", "ModulationListRole", "layer", "localfreq",
                     "hikarilevel", "hikarierror"},
         QStringLiteral("ttttbbbbtttttb"),
         [] { return new IndividualResultListModel; },
         [](QAbstractItemModel *m, const QString &key) {
             IndividualResultListRow row;
             row.date = key;
             as<IndividualResultListModel>(m)->addRow(row);
         },
         [](QAbstractItemModel *m) { as<IndividualResultListModel>(m)->clear(); },
         [](QAbstractItemModel *m, int c) { as<IndividualResultListModel>(m)->setCapacity(c); },
         false},
        {QStringLiteral("IndividualResultsModel"), 286,
         QStringList{"date", "level", "mer", "ber", "rad", "linelength", "graphyvalue",
                     "meryvalue", "merlength", "merrad", "beryvalue", "berlength", "berrad",
                     "time"},
         QStringLiteral("ttttdddddddddt"),
         [] { return new IndividualResultsModel; },
         [](QAbstractItemModel *m, const QString &key) {
             IndividualResultsRow row;
             row.date = key;
             as<IndividualResultsModel>(m)->addRow(row);
         },
         [](QAbstractItemModel *m) { as<IndividualResultsModel>(m)->clear(); },
         [](QAbstractItemModel *m, int c) { as<IndividualResultsModel>(m)->setCapacity(c); },
         false},
    };
    return kinds;
}

const ModelKind &kindNamed(const QString &name)
{
    for (const ModelKind &kind : modelKinds()) {
        if (kind.name == name)
            return kind;
    }
    qFatal("unknown model %s", qPrintable(name));
}

// The role of the field that addRow fills with the key.
int keyRole(const ModelKind &kind)
{
    return kind.name == QLatin1String("MeasureResultModel") ? int(MeasureResultModel::NoRole)
                                                             : kind.firstRole;
}

// A model with a fatal tester watching every change made to it.
struct CheckedModel
{
    explicit CheckedModel(const ModelKind &kind)
        : model(kind.make())
        , tester(model.get(), QAbstractItemModelTester::FailureReportingMode::Fatal)
    {
    }
    std::unique_ptr<QAbstractItemModel> model;
    QAbstractItemModelTester tester;
};

QVariantList rowValues(const QAbstractItemModel *model, int row, const ModelKind &kind)
{
    QVariantList values;
    const QModelIndex at = model->index(row, 0);
    for (int i = 0; i < kind.roleNames.size(); ++i)
        values << model->data(at, kind.firstRole + i);
    return values;
}

} // namespace

class TestListModelFrame : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<QVector<int>>(); }

    void roleTable_data()
    {
        QTest::addColumn<QString>("model");
        for (const ModelKind &kind : modelKinds())
            QTest::newRow(qPrintable(kind.name)) << kind.name;
    }

    void roleTable()
    {
        QFETCH(QString, model);
        const ModelKind &kind = kindNamed(model);
        QCOMPARE(kind.roleKinds.size(), kind.roleNames.size());
        CheckedModel m(kind);
        const QHash<int, QByteArray> roles = m.model->roleNames();
        QCOMPARE(roles.size(), kind.roleNames.size());
        for (int i = 0; i < kind.roleNames.size(); ++i)
            QCOMPARE(roles.value(kind.firstRole + i), kind.roleNames.at(i).toUtf8());
        QCOMPARE(m.model->rowCount(), 0);
    }

    // Every role stores what setData gives it, converted to the field's type, and announces
    // exactly that role of that row.
    void roleRoundTrip_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("role");
        QTest::addColumn<QChar>("kindOfRole");
        for (const ModelKind &kind : modelKinds()) {
            if (!kind.addRow)
                continue;
            for (int i = 0; i < kind.roleNames.size(); ++i) {
                const QString tag = kind.name + "/" + kind.roleNames.at(i);
                QTest::newRow(qPrintable(tag)) << kind.name << kind.firstRole + i << kind.roleKinds.at(i);
            }
        }
    }

    void roleRoundTrip()
    {
        QFETCH(QString, model);
        QFETCH(int, role);
        QFETCH(QChar, kindOfRole);
        const ModelKind &kind = kindNamed(model);
        CheckedModel m(kind);
        kind.addRow(m.model.get(), QStringLiteral("1"));
        kind.addRow(m.model.get(), QStringLiteral("2"));
        const QModelIndex at = m.model->index(1, 0);
        const QVariantList otherRow = rowValues(m.model.get(), 0, kind);
        QSignalSpy changed(m.model.get(), &QAbstractItemModel::dataChanged);

        QVariant written;
        QVariant expected;
        switch (kindOfRole.toLatin1()) {
        case 't': // a number written to a text role keeps its text
            written = 65.25;
            expected = QStringLiteral("65.25");
            break;
        case 'b':
            written = 1;
            expected = true;
            break;
        case 'u':
            written = 2;
            expected = true;
            break;
        case 'i':
            written = QStringLiteral("3");
            expected = 3;
            break;
        case 'd':
            written = QStringLiteral("-2.5e1");
            expected = -25.0;
            break;
        default:
            QFAIL("unknown role kind");
        }
        QVERIFY(m.model->setData(at, written, role));
        const QVariant stored = m.model->data(at, role);
        QCOMPARE(stored.userType(), expected.userType());
        QCOMPARE(stored, expected);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), at);
        QCOMPARE(changed.at(0).at(1).toModelIndex(), at);
        QCOMPARE(changed.at(0).at(2).value<QVector<int>>(), QVector<int>{role});
        QCOMPARE(rowValues(m.model.get(), 0, kind), otherRow);
    }

    void flagsWrittenFalse_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("role");
        QTest::addColumn<QVariant>("written");
        QTest::newRow("latestData from 0") << "MeasureResultModel" << 257 << QVariant(0);
        QTest::newRow("updateData from false") << "MeasureResultModel" << 259 << QVariant(false);
        QTest::newRow("display from false") << "MeasureResultModel" << 277 << QVariant(false);
        QTest::newRow("selectflag from 0") << "IndividualResultListModel" << 313 << QVariant(0);
    }

    void flagsWrittenFalse()
    {
        QFETCH(QString, model);
        QFETCH(int, role);
        QFETCH(QVariant, written);
        const ModelKind &kind = kindNamed(model);
        CheckedModel m(kind);
        kind.addRow(m.model.get(), QStringLiteral("1"));
        const QModelIndex at = m.model->index(0, 0);
        QVERIFY(m.model->setData(at, true, role));
        QCOMPARE(m.model->data(at, role), QVariant(true));
        QVERIFY(m.model->setData(at, written, role));
        QCOMPARE(m.model->data(at, role), QVariant(false));
    }

    void unknownRole_data() { roleTable_data(); }

    void unknownRole()
    {
        QFETCH(QString, model);
        const ModelKind &kind = kindNamed(model);
        if (!kind.addRow)
            QSKIP("this model takes no rows");
        CheckedModel m(kind);
        kind.addRow(m.model.get(), QStringLiteral("1"));
        const QModelIndex at = m.model->index(0, 0);
        const int unknown = kind.firstRole + kind.roleNames.size();
        for (int role : {int(Qt::DisplayRole), kind.firstRole - 1, unknown})
            QVERIFY(!m.model->data(at, role).isValid());

        const QVariantList before = rowValues(m.model.get(), 0, kind);
        QSignalSpy changed(m.model.get(), &QAbstractItemModel::dataChanged);
        QVERIFY(m.model->setData(at, QStringLiteral("x"), unknown));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(2).value<QVector<int>>(), QVector<int>{unknown});
        QCOMPARE(rowValues(m.model.get(), 0, kind), before);
    }

    // Writes that must be refused: no value, an index of a row that is gone, an index of
    // another model's row, a child index. Nothing changes and nothing is announced.
    void refusedSetData_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("kindOfIndex");
        for (const ModelKind &kind : modelKinds()) {
            if (!kind.addRow)
                continue;
            for (const char *what : {"invalid value", "row gone", "no index", "past the end"})
                QTest::newRow(qPrintable(kind.name + "/" + what)) << kind.name << QString::fromLatin1(what);
        }
    }

    void refusedSetData()
    {
        QFETCH(QString, model);
        QFETCH(QString, kindOfIndex);
        const ModelKind &kind = kindNamed(model);
        CheckedModel m(kind);
        for (int i = 1; i <= 3; ++i)
            kind.addRow(m.model.get(), QString::number(i));
        QModelIndex at = m.model->index(2, 0);
        QVariant value = QStringLiteral("9");
        if (kindOfIndex == QLatin1String("invalid value")) {
            value = QVariant();
        } else if (kindOfIndex == QLatin1String("row gone")) {
            // Keep the index of row 2, then shrink the list below it.
            kind.clear(m.model.get());
            kind.addRow(m.model.get(), QStringLiteral("1"));
        } else if (kindOfIndex == QLatin1String("no index")) {
            at = QModelIndex();
        } else {
            at = m.model->index(3, 0);
        }
        const int rows = m.model->rowCount();
        QVector<QVariantList> before;
        for (int r = 0; r < rows; ++r)
            before << rowValues(m.model.get(), r, kind);
        QSignalSpy changed(m.model.get(), &QAbstractItemModel::dataChanged);
        for (int i = 0; i < kind.roleNames.size(); ++i) {
            QVERIFY(!m.model->setData(at, value, kind.firstRole + i));
            QVERIFY(!m.model->data(at, kind.firstRole + i).isValid() || kindOfIndex == QLatin1String("invalid value"));
        }
        QCOMPARE(changed.count(), 0);
        QCOMPARE(m.model->rowCount(), rows);
        for (int r = 0; r < rows; ++r)
            QCOMPARE(rowValues(m.model.get(), r, kind), before.at(r));
    }

    void addRowAnnouncesTheEnd_data() { roleTable_data(); }

    void addRowAnnouncesTheEnd()
    {
        QFETCH(QString, model);
        const ModelKind &kind = kindNamed(model);
        if (!kind.addRow)
            QSKIP("this model takes no rows");
        CheckedModel m(kind);
        QSignalSpy inserted(m.model.get(), &QAbstractItemModel::rowsInserted);
        for (int i = 0; i < 3; ++i) {
            kind.addRow(m.model.get(), QString::number(i + 1));
            QCOMPARE(inserted.count(), i + 1);
            QCOMPARE(inserted.last().at(1).toInt(), i);
            QCOMPARE(inserted.last().at(2).toInt(), i);
        }
        QCOMPARE(m.model->rowCount(), 3);
        QCOMPARE(m.model->data(m.model->index(2, 0), keyRole(kind)).toString(), QStringLiteral("3"));
        // A list has no children.
        QCOMPARE(m.model->rowCount(m.model->index(0, 0)), 0);
    }

    void clearEmptyEmitsNothing_data() { roleTable_data(); }

    void clearEmptyEmitsNothing()
    {
        QFETCH(QString, model);
        const ModelKind &kind = kindNamed(model);
        if (!kind.clear)
            QSKIP("this model has no clear");
        CheckedModel m(kind);
        QSignalSpy reset(m.model.get(), &QAbstractItemModel::modelAboutToBeReset);
        QSignalSpy removed(m.model.get(), &QAbstractItemModel::rowsAboutToBeRemoved);
        kind.clear(m.model.get());
        QCOMPARE(reset.count(), 0);
        QCOMPARE(removed.count(), 0);
        QCOMPARE(m.model->rowCount(), 0);
    }

    void clearWithRows_data() { roleTable_data(); }

    void clearWithRows()
    {
        QFETCH(QString, model);
        const ModelKind &kind = kindNamed(model);
        if (!kind.clear)
            QSKIP("this model has no clear");
        CheckedModel m(kind);
        for (int i = 1; i <= 4; ++i)
            kind.addRow(m.model.get(), QString::number(i));
        QSignalSpy reset(m.model.get(), &QAbstractItemModel::modelReset);
        QSignalSpy removed(m.model.get(), &QAbstractItemModel::rowsRemoved);
        kind.clear(m.model.get());
        QCOMPARE(m.model->rowCount(), 0);
        if (kind.clearResets) {
            QCOMPARE(reset.count(), 1);
            QCOMPARE(removed.count(), 0);
        } else {
            QCOMPARE(reset.count(), 0);
            QCOMPARE(removed.count(), 1);
            QCOMPARE(removed.at(0).at(1).toInt(), 0);
            QCOMPARE(removed.at(0).at(2).toInt(), 3);
        }
        kind.addRow(m.model.get(), QStringLiteral("5"));
        QCOMPARE(m.model->rowCount(), 1);
        QCOMPARE(m.model->data(m.model->index(0, 0), keyRole(kind)).toString(), QStringLiteral("5"));
    }

    void capacityLimitsNothing_data() { roleTable_data(); }

    void capacityLimitsNothing()
    {
        QFETCH(QString, model);
        const ModelKind &kind = kindNamed(model);
        if (!kind.setCapacity)
            QSKIP("this model has no capacity");
        CheckedModel m(kind);
        kind.setCapacity(m.model.get(), 2);
        for (int i = 1; i <= 5; ++i)
            kind.addRow(m.model.get(), QString::number(i));
        QCOMPARE(m.model->rowCount(), 5);
    }
};

QTEST_MAIN(TestListModelFrame)
#include "tst_listmodelframe.moc"
