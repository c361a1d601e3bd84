// ctest-label: core
// The operation gate's one entry: run at once only when nothing runs and nothing waits,
// otherwise after what came before; never once the close has begun, which itself runs last.
#include "core/OperationGate.h"

#include <QtTest>

#include <memory>

using Entry = OperationGate::Entry;
Q_DECLARE_METATYPE(OperationGate::Entry)

class TestOperationGate : public QObject
{
    Q_OBJECT
private slots:
    // What an operation entered in each state of the gate meets: whether it runs at once,
    // and the order in which everything ran once the event loop had its turn.
    void entryOrder_data()
    {
        QTest::addColumn<bool>("busy");
        QTest::addColumn<bool>("workWaiting");
        QTest::addColumn<bool>("closing");
        QTest::addColumn<Entry>("entry");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("idle") << false << false << false << Entry::Ran << QStringList {"op"};
        QTest::newRow("inside another operation") << true << false << false << Entry::Queued
                                                  << QStringList {"running", "op"};
        QTest::newRow("idle, work waiting") << false << true << false << Entry::Queued
                                            << QStringList {"waiting", "op"};
        QTest::newRow("closing") << false << false << true << Entry::Refused << QStringList {};
    }

    void entryOrder()
    {
        QFETCH(bool, busy);
        QFETCH(bool, workWaiting);
        QFETCH(bool, closing);
        QFETCH(Entry, entry);
        QFETCH(QStringList, order);
        OperationGate gate;
        QObject context;
        QStringList ran;
        if (closing)
            gate.enterClose(&context, [] {});
        if (workWaiting) {
            OperationGate::Scope earlier(&gate, "earlier");
            gate.runOrQueue(&context, "waiting", [&] { ran.append("waiting"); });
        }
        QByteArray runningName;
        {
            std::unique_ptr<OperationGate::Scope> running;
            if (busy)
                running.reset(new OperationGate::Scope(&gate, "running"));
            QCOMPARE(gate.enter(&context, "op", [&] {
                ran.append("op");
                runningName = gate.runningName();
            }),
                     entry);
            if (busy)
                ran.append("running");
        }
        QTRY_VERIFY(gate.queuedCount() == 0);
        QCOMPARE(ran, order);
        if (!order.isEmpty())
            QCOMPARE(runningName, QByteArray("op"));
        QVERIFY(!gate.isBusy());
    }

    // The close waits for the running operation; operations queued before it are dropped
    // at their turn, other queued work (a reply, which checks for itself) still runs.
    void closeRunsLastAndDropsQueuedOperations()
    {
        OperationGate gate;
        QObject context;
        QStringList ran;
        {
            OperationGate::Scope running(&gate, "apply");
            QCOMPARE(gate.enter(&context, "details save", [&] { ran.append("details save"); }), Entry::Queued);
            gate.runOrQueue(&context, "reply", [&] { ran.append("reply"); });
            QCOMPARE(gate.enterClose(&context, [&] { ran.append("close:" + gate.runningName()); }), Entry::Queued);
            QVERIFY(gate.isClosing());
            QCOMPARE(gate.enter(&context, "apply", [&] { ran.append("apply"); }), Entry::Refused);
        }
        QTRY_VERIFY(gate.queuedCount() == 0);
        QCOMPARE(ran, (QStringList {"reply", "close:close"}));
    }
};

QTEST_MAIN(TestOperationGate)
#include "tst_operationgate.moc"
