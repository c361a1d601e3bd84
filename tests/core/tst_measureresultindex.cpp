// ctest-label: core
// What the result list model keeps beside its rows for the result path, the row numbers and
// the count of channel rows in error, against the rows themselves after every kind of change:
// rows added, inserted, removed and replaced, single fields written through the model's
// data interface, bad positions, and a clear.
#include "core/MeasureResultModel.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {
using R = MeasureResultModel;

MeasureResultRow row(int no, bool top, int channelStatus)
{
    MeasureResultRow r;
    r.latestData = top;
    r.no = r.deviceNo = no == 0 ? QStringLiteral("x") : QString::number(no);
    r.channelStatus = channelStatus;
    return r;
}

// The same two figures read from the rows, by the model's own reads.
int countedErrors(const R &model)
{
    int errors = 0;
    for (int r = 0; r < model.rowCount(); ++r) {
        const QModelIndex at = model.index(r);
        const int status = model.data(at, R::ChannelStatusRole).toInt();
        if (!model.data(at, R::LatestDataRole).toBool() && status >= 1 && status <= 3)
            ++errors;
    }
    return errors;
}

bool numbersMatch(const R &model)
{
    for (int r = 0; r < model.rowCount(); ++r) {
        if (model.rowNumber(r) != model.data(model.index(r), R::NoRole).toString().toInt())
            return false;
    }
    return model.rowNumber(-1) == 0 && model.rowNumber(model.rowCount()) == 0;
}
} // namespace

class TestMeasureResultIndex : public QObject
{
    Q_OBJECT

private slots:
    void keptInStepWithTheRows()
    {
        R model;
        QRandomGenerator random(24);
        for (int step = 0; step < 4000; ++step) {
            const int rows = model.rowCount();
            const int position = int(random.bounded(rows + 3)) - 1; // also just outside
            const int no = int(random.bounded(6));
            const bool top = random.bounded(4) == 0;
            const int status = int(random.bounded(6));
            switch (random.bounded(step % 1000 == 999 ? 8 : 7)) {
            case 0:
                model.addRow(row(no, top, status));
                break;
            case 1:
                model.insertRow(row(no, top, status), position);
                break;
            case 2:
                model.removeRow(position);
                break;
            case 3:
                model.setRow(position, row(no, top, status));
                break;
            case 4:
                model.setData(model.index(position), status, R::ChannelStatusRole);
                break;
            case 5:
                model.setData(model.index(position), top ? 1 : 0, R::LatestDataRole);
                break;
            case 6:
                model.setData(model.index(position), QString::number(no), R::NoRole);
                break;
            default:
                model.clear();
                break;
            }
            QCOMPARE(model.statusErrorCount(), countedErrors(model));
            QVERIFY2(numbersMatch(model), qPrintable(QStringLiteral("step %1").arg(step)));
        }
    }
};

QTEST_MAIN(TestMeasureResultIndex)
#include "tst_measureresultindex.moc"
