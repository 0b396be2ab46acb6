// Writes a PNG of every page the window shows, as the user sees it: an
// interactive current-rate run, a history run and a download that fails,
// against the fake banks and fresh suite databases (make screenshots).
//
//   wizard-screenshots <folder>

#include "WizardHarness.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <cstdio>
#include <stdexcept>

using namespace Qt::StringLiterals;
using namespace WizardTest;

namespace {

class Screenshots {
public:
    explicit Screenshots(const QString &folder)
        : m_folder(folder)
    {
    }

    void take(WizardWindow &window, const QString &run)
    {
        const QString name = u"%1-%2-%3.png"_s.arg(++m_count, 2, 10, QChar(u'0')).arg(run, window.page());
        const QString path = m_folder.filePath(name);
        if (!window.form().grab().save(path))
            throw std::runtime_error(qPrintable(u"cannot write "_s + path));
        std::printf("%s\n", qPrintable(path));
    }

private:
    QDir m_folder;
    int m_count = 0;
};

void waitFor(WizardWindow &window, const QString &page)
{
    if (!QTest::qWaitFor([&] { return window.page() == page; }, DeadlineMs))
        throw std::runtime_error(qPrintable(u"the window stayed on %1 instead of reaching %2"_s.arg(window.page(), page)));
}

// The working pages pass by themselves: each is taken when first drawn.
void takeWorkingPages(PageTrail &trail, Screenshots &shots, WizardWindow &window, const QString &run)
{
    for (const QString &page : {u"Connect"_s, u"DatabaseInsert"_s})
        trail.onFirstVisit(page, [&shots, &window, run] { shots.take(window, run); });
}

void interactiveRun(Screenshots &shots)
{
    FakeSources sources;
    SuiteDatabase db;
    fillSuite(db);
    WizardWindow w({u"/d"_s + db.path()}, sources.settingsPath());
    PageTrail trail(w);
    takeWorkingPages(trail, shots, w, u"interactive"_s);
    if (!w.show())
        throw std::runtime_error("the window did not reach the screen");
    w.chooseBank(CentralBank);
    shots.take(w, u"interactive"_s);
    w.pressNext();
    waitFor(w, u"Settings"_s);
    for (const QString &code : {u"EUR"_s, u"USD"_s, u"GBP"_s})
        WizardWindow::clickTickBox(w.rateList(), code);
    shots.take(w, u"interactive"_s);
    w.pressNext();
    waitFor(w, u"Finished"_s);
    shots.take(w, u"interactive"_s);
}

void historyRun(Screenshots &shots)
{
    FakeSources sources;
    SuiteDatabase db;
    fillSuite(db);
    WizardWindow w({u"/d"_s + db.path()}, sources.settingsPath());
    PageTrail trail(w);
    takeWorkingPages(trail, shots, w, u"history"_s);
    if (!w.show())
        throw std::runtime_error("the window did not reach the screen");
    w.chooseBank(CentralBank);
    w.toggle(w.history());
    shots.take(w, u"history"_s);
    w.pressNext();
    waitFor(w, u"HistorySettings"_s);
    w.typeDate(w.fromDate(), u"20260914"_s);
    shots.take(w, u"history"_s);
    w.pressNext();
    waitFor(w, u"Settings"_s);
    shots.take(w, u"history"_s);
    w.pressNext();
    waitFor(w, u"Finished"_s);
    shots.take(w, u"history"_s);
}

void failedDownload(Screenshots &shots)
{
    FakeSources sources;
    sources.mnb.answerNext(FakeReply::withStatus(500, "Runtime Error"));
    SuiteDatabase db;
    fillSuite(db);
    WizardWindow w({u"/d"_s + db.path()}, sources.settingsPath());
    if (!w.show())
        throw std::runtime_error("the window did not reach the screen");
    w.chooseBank(CentralBank);
    w.pressNext();
    waitFor(w, u"ErrorFinish"_s);
    shots.take(w, u"error"_s);
}

} // namespace

int main(int argc, char *argv[])
{
    // Never a window on the desktop: the pictures are drawn off screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "wizard-screenshots: cannot make the folder %s\n", argv[1]);
        return 1;
    }
    try {
        Screenshots shots(folder);
        interactiveRun(shots);
        historyRun(shots);
        failedDownload(shots);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "wizard-screenshots: %s\n", e.what());
        return 1;
    }
    return 0;
}
