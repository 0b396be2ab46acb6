// Reading a ten-year history answer of the central bank into rate entries,
// beside pugixml's bare parse of the same answer.

#include "fakes/FakeMnbServer.h"
#include "sources/RateDocument.h"

#include <QCoreApplication>
#include <QTextStream>
#include <chrono>
#include <pugixml.hpp>

namespace {
QByteArray tenYearAnswer(int &days)
{
    const QStringList codes = FakeMnbServer::currencies();
    const QDate last(2026, 9, 18);
    QString document = QStringLiteral("<MNBExchangeRates>");
    days = 0;
    for (QDate day = last; day > last.addYears(-10); day = day.addDays(-1)) {
        if (day.dayOfWeek() > 5)
            continue;
        ++days;
        document += QStringLiteral("<Day date=\"%1\">").arg(day.toString(Qt::ISODate));
        for (const QString &code : codes) {
            document += QStringLiteral("<Rate unit=\"%1\" curr=\"%2\">%3</Rate>")
                            .arg(FakeMnbServer::unit(code))
                            .arg(code, FakeMnbServer::rateText(code, day));
        }
        document += QStringLiteral("</Day>");
    }
    document += QStringLiteral("</MNBExchangeRates>");
    return FakeMnbServer::envelope(QStringLiteral("GetExchangeRates"), document);
}

template<typename F>
double seconds(F &&work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    int days = 0;
    const QByteArray answer = tenYearAnswer(days);
    // Best of many rounds, the two taking turns, so that both meet the same
    // machine.
    double bare = 1e9, read = 1e9;
    int entries = 0;
    for (int round = 0; round < 40; ++round) {
        bare = std::min(bare, seconds([&] {
                            pugi::xml_document doc;
                            if (!doc.load_buffer(answer.constData(), size_t(answer.size())))
                                qFatal("the answer does not parse");
                        }));
        read = std::min(read, seconds([&] {
                            CurrencyObjectList list;
                            readRateDocument(answer, list);
                            entries = list.listCount();
                        }));
    }

    out << "history answer: " << days << " days, " << entries << " rates, " << answer.size() / 1024 << " KiB\n";
    out << QStringLiteral("pugixml bare parse: %1 ms\n").arg(bare * 1000, 0, 'f', 2);
    out << QStringLiteral("read into entries:  %1 ms, %2 entries/s\n")
               .arg(read * 1000, 0, 'f', 2)
               .arg(entries / read, 0, 'f', 0);
    out << QStringLiteral("ratio to bare parse: %1x (goal: within 2x)\n").arg(read / bare, 0, 'f', 2);
    return 0;
}
