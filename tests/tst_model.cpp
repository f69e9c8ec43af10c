// The statement as data, without any window: the check and the totals of Calculate, the flag of
// totals worked out from these entries, the title, and the saved format, as rows.
#include "model/statement_file.h"
#include "model/summary.h"

#include <QTest>
#include <QRegularExpression>

#include <numeric>
#include <QXmlStreamWriter>

namespace {

// An entry as the user makes it: "station=7" picks it, "station:Station 99" types it, "month=3",
// "txtBox(2)=12" sets a box.
void enter(Statement& s, const QString& step)
{
    const QString name = step.section(QRegularExpression("[=:]"), 0, 0);
    const QString value = step.mid(name.size() + 1);
    const bool picked = step.at(name.size()) == u'=';
    if (name == "station")
        s.setStation(picked ? value.toInt() : 0, picked ? stationName(value.toInt()) : value);
    else if (name == "month")
        s.setMonth(value.toInt());
    else
        s.setBox(boxIndex(name), value);
}

// A statement in the locale, filled in by those steps.
Statement filled(const QStringList& steps, const QLocale& locale = QLocale(QStringLiteral("en_US")))
{
    Statement s(locale);
    for (const QString& step : steps)
        enter(s, step);
    return s;
}

QStringList boxes(const Statement& s)
{
    QStringList all;
    for (int box = 0; box < BoxCount; ++box)
        if (!s.box(box).isEmpty())
            all << boxName(box) + "=" + s.box(box);
    return all;
}

QByteArray xmpOf(const statement_file::Saved& saved)
{
    QByteArray xmp;
    QXmlStreamWriter writer(&xmp);
    writer.writeNamespace("http://www.w3.org/1999/02/22-rdf-syntax-ns#", "rdf");
    writer.writeStartElement("http://www.w3.org/1999/02/22-rdf-syntax-ns#", "RDF");
    statement_file::write(writer, saved);
    writer.writeEndElement();
    return xmp;
}

const QStringList Picked{"station=7", "month=3"};
} // namespace

class TestModel : public QObject {
    Q_OBJECT
private slots:
    // Calculate stops at the first problem: the station, the month, then the amount boxes,
    // income before expenses, each from the lowest index up.
    void checkNamesTheFirstProblem_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("control"); // "": it passes
        QTest::addColumn<QString>("prompt");
        const QString notANumber = "Input is not a number, please correct this.";
        // clang-format off
        QTest::newRow("nothing picked") << QStringList{"txtBox(0)=x"} << "lstStations" << "You must select a Station";
        QTest::newRow("a station typed, not picked") << QStringList{"station:Station 5", "month=3"} << "lstStations" << "You must select a Station";
        QTest::newRow("no month") << QStringList{"station=1"} << "lstMonths" << "You must select a Month";
        QTest::newRow("income before expenses") << Picked + QStringList{"txtBoxa(0)=x", "txtBox(9)=y"} << "txtBox(9)" << notANumber;
        QTest::newRow("the lowest index first") << Picked + QStringList{"txtBox(3)=x", "txtBox(1)=y"} << "txtBox(1)" << notANumber;
        QTest::newRow("a blank is no amount") << Picked + QStringList{"txtBoxa(6)= "} << "txtBoxa(6)" << notANumber;
        QTest::newRow("a trillion") << Picked + QStringList{"txtBox(2)=1e12"} << "txtBox(2)" << "Amount is too large, please correct this.";
        QTest::newRow("descriptions are no amounts") << Picked + QStringList{"Text1(0)=abc"} << "" << "";
        QTest::newRow("the last station and month") << QStringList{"station=34", "month=12", "txtBox(0)=1"} << "" << "";
        // clang-format on
    }
    void checkNamesTheFirstProblem()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, control);
        QFETCH(QString, prompt);
        Statement s = filled(steps);
        const auto problem = s.calculate();
        QCOMPARE(problem ? problem->control : QString(), control);
        QCOMPARE(problem ? problem->prompt : QString(), prompt);
        QCOMPARE(s.totals().has_value(), control.isEmpty());
    }

    // Exact cents, every amount box rewritten in the locale's standard form, zero emptied.
    void totalsInExactCents_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QList<qint64>>("totals"); // income, expenses, balance
        QTest::addColumn<QStringList>("rewritten");
        // clang-format off
        QTest::newRow("every kind of amount") << "en_US"
            << Picked + QStringList{"txtBox(0)=1234.5", "txtBox(3)=(25.00)", "txtBox(5)=0.001", "txtBox(9)=1e3", "txtBoxa(0)=-0.5", "txtBoxa(6)=$7", "Text1(0)=2023"}
            << QList<qint64>{220950, 650, 220300}
            << QStringList{"txtBox(0)=1,234.50", "txtBox(3)=-25.00", "txtBox(9)=1,000.00", "txtBoxa(0)=-0.50", "txtBoxa(6)=7.00", "Text1(0)=2023"};
        QTest::newRow("ten dimes are a dollar") << "en_US"
            << Picked + QStringList{"txtBox(0)=.1", "txtBox(1)=.1", "txtBox(2)=.1", "txtBox(3)=.1", "txtBox(4)=.1", "txtBox(5)=.1", "txtBox(6)=.1", "txtBox(7)=.1", "txtBox(8)=.1", "txtBox(9)=.1"}
            << QList<qint64>{100, 0, 100}
            << QStringList{"txtBox(0)=0.10", "txtBox(1)=0.10", "txtBox(2)=0.10", "txtBox(3)=0.10", "txtBox(4)=0.10", "txtBox(5)=0.10", "txtBox(6)=0.10", "txtBox(7)=0.10", "txtBox(8)=0.10", "txtBox(9)=0.10"};
        QTest::newRow("the decimal comma") << "de_DE" << Picked + QStringList{"txtBox(0)=1.234,5", "txtBoxa(1)=1e3"}
            << QList<qint64>{123450, 100000, 23450} << QStringList{"txtBox(0)=1.234,50", "txtBoxa(1)=1.000,00"};
        QTest::newRow("the largest amounts") << "en_US" << Picked + QStringList{"txtBox(0)=999999999999.99", "txtBoxa(0)=-999999999999.99"}
            << QList<qint64>{99999999999999, -99999999999999, 199999999999998}
            << QStringList{"txtBox(0)=999,999,999,999.99", "txtBoxa(0)=-999,999,999,999.99"};
        // clang-format on
    }
    void totalsInExactCents()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, steps);
        QFETCH(QList<qint64>, totals);
        QFETCH(QStringList, rewritten);
        Statement s = filled(steps, QLocale(locale));
        QVERIFY(!s.calculate());
        QCOMPARE((QList<qint64>{s.totals()->income, s.totals()->expenses, s.totals()->balance}), totals);
        QCOMPARE(boxes(s), rewritten);
        // Calculated again, nothing changes: the rewritten texts read as what they counted.
        const Statement once = s;
        QVERIFY(!s.calculate());
        QCOMPARE(s, once);
    }

    // The totals on show stay after an edit, but are no longer of these entries; an edit that
    // changes nothing keeps them so.
    void anEditClearsCalculated_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<bool>("calculated");
        QTest::newRow("a box") << "txtBox(1)=5" << false;
        QTest::newRow("a description") << "Text1(5)=x" << false;
        QTest::newRow("the station typed") << "station:Station 7" << false;
        QTest::newRow("another station") << "station=8" << false;
        QTest::newRow("the month") << "month=4" << false;
        QTest::newRow("a box to what it holds") << "txtBox(0)=12.00" << true;
        QTest::newRow("the same station") << "station=7" << true;
    }
    void anEditClearsCalculated()
    {
        QFETCH(QString, edit);
        QFETCH(bool, calculated);
        Statement s = filled(Picked + QStringList{"txtBox(0)=12"});
        QVERIFY(!s.calculated());
        QVERIFY(!s.calculate());
        QVERIFY(s.calculated());
        enter(s, edit);
        QCOMPARE(s.calculated(), calculated);
        QCOMPARE(s.totals()->income, 1200);
    }

    void titleAndBoxNames()
    {
        QCOMPARE(filled(Picked).title(), "FORM QM-415 Station 7 March");
        QCOMPARE(filled({"station: Station  7/8 ", "month=12"}).title(), "FORM QM-415 Station 7-8 December");
        QCOMPARE(filled({}, QLocale("de_DE")).title(), "FORM QM-415");
        QCOMPARE(filled({"month=3"}, QLocale("de_DE")).title(), "FORM QM-415 März");
        QCOMPARE(boxName(0), "txtBox(0)");
        QCOMPARE(boxName(10), "txtBoxa(0)");
        QCOMPARE(boxName(22), "Text1(5)");
        for (const char* unknown : {"txtBox(10)", "txtBoxa(7)", "Text1(-1)", "txtBox(01)", "txtBox", ""})
            QCOMPARE(boxIndex(unknown), -1);
        for (int box = 0; box < BoxCount; ++box)
            QCOMPARE(boxIndex(boxName(box)), box);
    }

    // Written in one locale, the same amounts in another's standard form, other texts as they are.
    void inAnotherLocale()
    {
        const Statement german = filled(Picked + QStringList{"txtBox(0)=1.234,5", "txtBoxa(0)=abc", "Text1(0)=Kuchen 3,50"}, QLocale("de_DE"));
        QCOMPARE(boxes(german.inLocale(QLocale("en_US"))),
                 (QStringList{"txtBox(0)=1,234.50", "txtBoxa(0)=abc", "Text1(0)=Kuchen 3,50"}));
        QCOMPARE(boxes(german.inLocale(QLocale("de_DE"))), boxes(german));
    }

    // What is written reads back as the same statement.
    void savedStatementsReadBack_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("calculated");
        QTest::newRow("calculated") << "en_US" << Picked + QStringList{"txtBox(0)=1,234.50", "Text1(0)=a & <b> \"c\""} << true;
        QTest::newRow("as typed, the station typed") << "en_US" << QStringList{"station:Station 99", "txtBoxa(3)=abc", "txtBox(5)=1e3"} << false;
        QTest::newRow("in German") << "de_DE" << Picked + QStringList{"txtBox(0)=1.234,50", "Text1(5)=  \u00c6 \u2713 "} << false;
        QTest::newRow("empty") << "en_US" << QStringList() << false;
    }
    void savedStatementsReadBack()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, steps);
        QFETCH(bool, calculated);
        const statement_file::Saved saved{filled(steps, QLocale(locale)), calculated};
        const auto read = statement_file::read(xmpOf(saved));
        if (const auto* problem = std::get_if<statement_file::Problem>(&read))
            QFAIL(qPrintable(problem->reason));
        QCOMPARE(std::get<statement_file::Saved>(read), saved);
    }

    // Metadata as others write it, friendly or not: what is taken and what is refused, and why.
    void metadataFromOthers_data()
    {
        QTest::addColumn<QByteArray>("description"); // inside rdf:RDF
        QTest::addColumn<QString>("outcome");        // the boxes read, or the reason
        const QByteArray open = "<rdf:Description xmlns:qm415=\"https://qm415.org/ns/statement/\" ";
        const QByteArray head = open + "><qm415:formatVersion>1</qm415:formatVersion><qm415:locale>en_US</qm415:locale><qm415:calculated>False</qm415:calculated>";
        const auto bag = [&](const QByteArray& items) { return head + "<qm415:boxes><rdf:Bag>" + items + "</rdf:Bag></qm415:boxes></rdf:Description>"; };
        const QByteArray one = "<rdf:li rdf:parseType=\"Resource\"><qm415:name>txtBox(0)</qm415:name><qm415:text>1.50</qm415:text><qm415:cents>150</qm415:cents></rdf:li>";
        const QString damaged = "its saved statement is damaged";
        // clang-format off
        QTest::newRow("as written") << bag(one) << "txtBox(0)=1.50";
        QTest::newRow("properties as attributes") << open + "qm415:formatVersion=\"1\" qm415:locale=\"en_US\" qm415:calculated=\"True\" qm415:station=\"12\"/>" << "Station 12";
        QTest::newRow("a box as a description of attributes") << bag("<rdf:li><rdf:Description qm415:name=\"Text1(2)\" qm415:text=\"x\"/></rdf:li>") << "Text1(2)=x";
        QTest::newRow("a box as a description of elements") << bag("<rdf:li><rdf:Description><qm415:name>txtBoxa(6)</qm415:name><qm415:text>-2</qm415:text><qm415:cents>-200</qm415:cents></rdf:Description></rdf:li>") << "txtBoxa(6)=-2";
        QTest::newRow("a box said twice") << bag(one + one) << damaged;
        QTest::newRow("a box the form lacks") << bag("<rdf:li qm415:name=\"txtBox(10)\" qm415:text=\"1\"/>") << "it names a box the statement does not have";
        QTest::newRow("cents apart from the text") << bag("<rdf:li qm415:name=\"txtBox(1)\" qm415:text=\"1.50\" qm415:cents=\"99\"/>") << damaged + ": the amount saved for %1 is not the one its text reads";
        QTest::newRow("cents left out of an amount") << bag("<rdf:li qm415:name=\"txtBox(1)\" qm415:text=\"1.50\"/>") << damaged + ": the amount saved for %1 is not the one its text reads";
        QTest::newRow("cents on a description") << bag("<rdf:li qm415:name=\"Text1(0)\" qm415:text=\"2023\" qm415:cents=\"202300\"/>") << damaged;
        QTest::newRow("a property unknown") << head + "<qm415:colour>red</qm415:colour></rdf:Description>" << damaged;
        QTest::newRow("a locale that names another") << open + "qm415:formatVersion=\"1\" qm415:locale=\"de\" qm415:calculated=\"True\"/>" << damaged;
        QTest::newRow("nesting deeper than the format") << head + "<a><b><c><d><e><f/></e></d></c></b></a></rdf:Description>" << damaged;
        QTest::newRow("nesting as deep as the format") << head + "<a><b><c><d><e/></d></c></b></a></rdf:Description>" << "";
        QTest::newRow("an entity no one declared") << head + "<qm415:stationText>&e;</qm415:stationText></rdf:Description>" << damaged;
        QTest::newRow("a newer format, otherwise written") << open + "qm415:formatVersion=\"2\"><qm415:shape/></rdf:Description>"
            << "it was saved by a newer version of the program (format 2; this version reads format 1)";
        QTest::newRow("nothing of ours") << QByteArray("<rdf:Description xmlns:dc=\"http://purl.org/dc/elements/1.1/\" dc:format=\"application/pdf\"/>")
            << "it holds no entries of a statement (only a PDF this program saved has them)";
        // clang-format on
    }
    void metadataFromOthers()
    {
        QFETCH(QByteArray, description);
        QFETCH(QString, outcome);
        const auto read = statement_file::read(
            "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">" +
            description + "</rdf:RDF></x:xmpmeta>");
        if (const auto* problem = std::get_if<statement_file::Problem>(&read)) {
            QCOMPARE(problem->reason, outcome);
            return;
        }
        const Statement& s = std::get<statement_file::Saved>(read).statement;
        QCOMPARE((QStringList{s.stationText()} + boxes(s)).join(' ').trimmed(), outcome);
    }

    // The next month from this one, only from totals worked out from these very entries.
    void nextMonth_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("next"); // its station, month and boxes; "": none
        QTest::newRow("December into January") << QStringList{"station=7", "month=12", "txtBox(0)=100", "txtBoxa(0)=150.25", "Calculate"}
            << "Station 7 1 txtBox(0)=-50.25";
        QTest::newRow("a typed station, nothing left over") << QStringList{"station:Hall", "month=3", "Calculate"} << "";
        QTest::newRow("ended at zero") << QStringList{"station=1", "month=3", "txtBox(0)=5", "txtBoxa(6)=5", "Text1(0)=x", "Calculate"}
            << "Station 1 4";
        QTest::newRow("changed after Calculate") << QStringList{"station=1", "month=3", "Calculate", "txtBox(1)=1"} << "";
    }
    void nextMonth()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, next);
        Statement s(QLocale("en_US"));
        for (const QString& step : steps)
            if (step == "Calculate")
                s.calculate();
            else
                enter(s, step);
        const std::optional<Statement> after = s.nextMonth();
        QCOMPARE(after ? (QStringList{after->stationText(), QString::number(after->month())} + boxes(*after)).join(' ')
                       : QString(),
                 next);
        if (after)
            QVERIFY(!after->totals() && after->station() == s.station());
    }

    // Many statements at once: each checked and totalled as Calculate would, each station's
    // balance followed from month to month, duplicates and missing stations found.
    void summaryOfMany_data()
    {
        QTest::addColumn<QStringList>("files"); // "name locale step step...", or "name !reason"
        QTest::addColumn<QStringList>("rows");  // station month carried income expenses balance, problems
        QTest::addColumn<QString>("totals");    // carried income expenses balance of those counted
        QTest::addColumn<QString>("months");    // the run summarised, then how many missing
        // clang-format off
        QTest::newRow("continuity across December into January")
            << QStringList{"jan en_US station=5 month=1 txtBox(0)=140", "dec en_US station=5 month=12 txtBox(0)=100 txtBox(1)=50",
                           "feb en_US station=5 month=2 txtBox(0)=140"}
            << QStringList{"5 1 14000 14000 0 14000 continuity:-1000:12", "5 12 10000 15000 0 15000", "5 2 14000 14000 0 14000"}
            << "38000 43000 0 43000" << "12 1 2, 99";
        QTest::newRow("not followed where the month before is not summarised")
            << QStringList{"jan en_US station=5 month=1 txtBox(0)=140", "mar en_US station=5 month=3 txtBox(0)=1"}
            << QStringList{"5 1 14000 14000 0 14000", "5 3 100 100 0 100"} << "14100 14100 0 14100" << "1 3, 66";
        QTest::newRow("the same station and month twice")
            << QStringList{"a en_US station=3 month=4 txtBox(0)=1", "b en_US station=3 month=4 txtBox(0)=2", "c en_US station=4 month=4 txtBoxa(0)=2"}
            << QStringList{"3 4 100 100 0 100 duplicate:b", "3 4 200 200 0 200 duplicate:a", "4 4 0 0 200 -200"}
            << "0 0 200 -200" << "4, 32";
        QTest::newRow("a check that fails, no station, no month, a file refused")
            << QStringList{"bad en_US station=2 month=4 txtBoxa(1)=abc txtBox(0)=1", "none en_US txtBox(0)=x", "odd !it is not a PDF file"}
            << QStringList{"2 4 0 - - - check:txtBoxa(1):Input is not a number, please correct this.",
                           "0 0 0 - - - nostation nomonth check:txtBox(0):Input is not a number, please correct this.",
                           "0 0 0 - - - refused:it is not a PDF file"}
            << "0 0 0 0" << "4, 33";
        QTest::newRow("saved in German beside English") << QStringList{"de de_DE station=1 month=6 txtBox(0)=1.234,56", "en en_US station=2 month=6 txtBox(0)=1,000.44"}
            << QStringList{"1 6 123456 123456 0 123456", "2 6 100044 100044 0 100044"} << "223500 223500 0 223500" << "6, 32";
        // clang-format on
    }
    void summaryOfMany()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, rows);
        QFETCH(QString, totals);
        QFETCH(QString, months);
        std::vector<SummaryInput> inputs;
        for (const QString& file : files) {
            const QStringList words = file.split(' ');
            if (words[1].startsWith('!')) {
                inputs.push_back({words[0], file.section('!', 1)});
                continue;
            }
            inputs.push_back({words[0], statement_file::Saved{filled(words.mid(2), QLocale(words[1])), false}});
        }
        const Summary summary = summarise(inputs);
        QStringList got;
        for (const SummaryRow& row : summary.rows) {
            QStringList words{QString::number(row.station), QString::number(row.month), QString::number(row.carried)};
            for (qint64 Totals::*t : {&Totals::income, &Totals::expenses, &Totals::balance})
                words << (row.totals ? QString::number((*row.totals).*t) : "-");
            for (const SummaryProblem& p : row.problems) {
                const QString kinds[] = {"refused", "nostation", "nomonth", "check", "continuity", "duplicate"};
                const QString kind = kinds[int(p.kind)];
                words << (p.kind == SummaryProblem::Kind::Continuity ? kind + ":" + QString::number(p.cents) + ":" + QString::number(p.month)
                          : p.kind == SummaryProblem::Kind::Check ? kind + ":" + p.box + ":" + p.text
                          : p.text.isEmpty() ? kind : kind + ":" + p.text);
            }
            got << words.join(' ');
        }
        QCOMPARE(got, rows);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(summary.carried).arg(summary.totals.income).arg(summary.totals.expenses).arg(summary.totals.balance), totals);
        QStringList run;
        for (int m : summary.months)
            run << QString::number(m);
        QCOMPARE(run.join(' ') + ", " + QString::number(summary.missing.size()), months);
        QCOMPARE(summary.allWell(), false);
        if (!summary.months.empty())
            QCOMPARE(summary.monthTotal(summary.months.back()),
                     std::accumulate(summary.endBalances.begin(), summary.endBalances.end(), qint64(0),
                                     [&](qint64 sum, const auto& e) { return e.first.second == summary.months.back() ? sum + e.second : sum; }));
    }

    void aSummaryOfEveryStationIsWell()
    {
        std::vector<SummaryInput> inputs;
        for (int station = 1; station <= Stations; ++station)
            inputs.push_back({QString::number(station), statement_file::Saved{filled({"station=" + QString::number(station), "month=3"}), true}});
        QVERIFY(summarise(inputs).allWell());
        inputs.pop_back();
        QCOMPARE(summarise(inputs).missing, (std::vector<std::pair<int, int>>{{34, 3}}));
    }

    // Before its root a statement's metadata declares nothing; no more than a statement is read.
    void declarationsAndSizeAreRefused()
    {
        const auto reason = [](const QByteArray& xmp) {
            const auto read = statement_file::read(xmp);
            return std::holds_alternative<statement_file::Problem>(read)
                       ? std::get<statement_file::Problem>(read).reason
                       : QString("(read)");
        };
        QCOMPARE(reason("<!DOCTYPE x [<!ENTITY e \"e\">]><x/>"),
                 "its metadata holds a document type declaration, which no saved statement has");
        QCOMPARE(reason(QByteArray(statement_file::MaxMetadata + 1, ' ')),
                 "its metadata is far larger than a statement's");
    }
};

QTEST_GUILESS_MAIN(TestModel)
#include "tst_model.moc"
