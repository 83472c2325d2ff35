// The user guide: the PDF the build makes, its key table against the engine's key vocabulary,
// and the results its example programs promise, worked on the engine through keyrun.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <map>

#include <gtest/gtest.h>

#include "engine/keys.h"

namespace orrindale {
namespace {

const QString kProgramDir = QStringLiteral(ORRINDALE_PROGRAM_DIR);
const QString kGuideSource = QStringLiteral(ORRINDALE_SOURCE_DIR "/docs/HP9100BHelp.md");

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(HelpDocument, IsAPdfOfSeveralPagesInTheProgramFolder) {
    const std::pair<const char*, int> documents[] = {{"HP9100BHelp.pdf", 6},
                                                     {"PlotterHelp.pdf", 2}};
    for (const auto& [name, pages] : documents) {
        SCOPED_TRACE(name);
        const QByteArray pdf = ReadAll(kProgramDir + "/" + name);
        ASSERT_FALSE(pdf.isEmpty());
        EXPECT_TRUE(pdf.startsWith("%PDF-"));
        EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
        const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
        EXPECT_GE(QString::fromLatin1(pdf).count(page), pages);
    }
}

struct KeyRow {
    QString name, code, pcKey;
};

// The rows of the key table: "| 21 | 2, 8 | 7 | 07 | 7 (main or keypad) |".
std::map<int, KeyRow> GuideKeyTable() {
    const QString text = QString::fromUtf8(ReadAll(kGuideSource));
    const QRegularExpression row(
        QStringLiteral(R"(^\| (\d+) \| \d, \d+ \| ((?:[^|\\]|\\\|)+) \| (\S+) \| ([^|]+) \|$)"),
        QRegularExpression::MultilineOption);
    std::map<int, KeyRow> rows;
    for (auto it = row.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        QString name = match.captured(2).trimmed();
        name.replace(QLatin1String("\\|"), QLatin1String("|"));
        rows[match.captured(1).toInt()] = {name, match.captured(3), match.captured(4).trimmed()};
    }
    return rows;
}

TEST(HelpDocument, KeyTableNamesEveryKeyWithItsCodeAndAPcKey) {
    const auto rows = GuideKeyTable();
    ASSERT_EQ(rows.size(), 65u);
    for (int pos = 1; pos <= kKeyCount; ++pos) {
        SCOPED_TRACE(pos);
        ASSERT_EQ(rows.count(pos), 1u);
        const KeyRow& row = rows.at(pos);
        EXPECT_EQ(row.name.toStdString(), KeyNames[pos]);
        const std::string code = pos == kStepPrgmPos ? "—" : FormatKeyCode(KeyCodeOf[pos]);
        EXPECT_EQ(row.code.toStdString(), code);
        EXPECT_FALSE(row.pcKey.isEmpty());
    }
}

// The display keyrun shows at the end: the "top", "mid" and "bot" lines and the lamp.
QString KeyRun(const QString& tokens) {
    QProcess run;
    run.start(kProgramDir + "/keyrun", tokens.split(' ', Qt::SkipEmptyParts));
    if (!run.waitForFinished(20000) || run.exitCode() != 0) return QStringLiteral("failed");
    return QString::fromLatin1(run.readAllStandardOutput());
}

const QString kCircle = QStringLiteral("prgm SHUP Mul Pi Mul x<>y End run End ");
const QString kFactorial =
    QStringLiteral("prgm SHUP 1 x<>y Mul SHUP 1 Sub X<Y? 0 c RLU End RLD GoTo 0 3 run End ");

TEST(HelpDocument, ExampleProgramsGiveTheResultsTheGuidePrints) {
    const QString area5 = KeyRun(kCircle + "5 Cont");
    EXPECT_TRUE(area5.contains("stopped after 6 steps")) << area5.toStdString();
    EXPECT_TRUE(area5.contains("bot SSSSSSS78P54")) << area5.toStdString();
    EXPECT_TRUE(area5.contains("mid SSSSSSSS3P14")) << area5.toStdString();
    EXPECT_TRUE(KeyRun(kCircle + "1 0 Cont").contains("bot SSSSSS314P16"));
    EXPECT_TRUE(KeyRun(kCircle + "float 5 Cont").contains("bot S7P853S981S634SS01"));
    EXPECT_TRUE(KeyRun(kCircle + "2 . 5 Step Step Step Step").contains("mid SSSSSSS19P63"));

    const QString fact5 = KeyRun(kFactorial + "5 Cont");
    EXPECT_TRUE(fact5.contains("stopped after 43 steps")) << fact5.toStdString();
    EXPECT_TRUE(fact5.contains("bot SSSSSS120PSS")) << fact5.toStdString();
    EXPECT_TRUE(KeyRun(kFactorial + "1 0 Cont").contains("bot SS3628800PSS"));
    EXPECT_TRUE(KeyRun(kFactorial + "1 Cont").contains("bot SSSSSSSS1PSS"));
    EXPECT_TRUE(KeyRun(kFactorial + "6 9 Cont").contains("bot S1P711S224S524SS98"));
    EXPECT_TRUE(KeyRun(kFactorial + "7 0 Cont").contains("bot SSSSSSSSSP00"));
}

// The guides' worked examples (tests/guide_examples.txt) give what their guides say.
TEST(HelpDocument, EveryGuidesWorkedExamplesDoWhatTheySay) {
    const QString table = QStringLiteral(ORRINDALE_SOURCE_DIR "/tests/guide_examples.txt");
    const QStringList rows = QString::fromUtf8(ReadAll(table)).split('\n');
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString svg = dir.filePath("example.svg");
    std::map<QString, int> examples;
    for (const QString& row : rows) {
        if (row.trimmed().isEmpty() || row.startsWith('#')) continue;
        const QStringList fields = row.split(" | ");
        ASSERT_EQ(fields.size(), 3) << row.toStdString();
        const QString guide = fields[0].trimmed();
        ++examples[guide];
        QFile::remove(svg);
        const QString out = KeyRun(QString(fields[1]).replace("@SVG@", svg));
        const QString picture = QString::fromUtf8(ReadAll(svg));
        for (const QString& expected : fields[2].trimmed().split(" / ")) {
            const bool inPicture = expected.startsWith("svg:");
            const QString found = inPicture ? picture : out;
            const QString line = inPicture ? expected.mid(4) : expected + '\n';
            EXPECT_TRUE(found.contains(line))
                << guide.toStdString() << ": " << fields[1].toStdString() << "\nexpected "
                << line.toStdString() << "\nin\n"
                << found.toStdString();
        }
    }
    for (const char* guide : {"HP9100BHelp.md", "CardHelp.md", "9101A.md", "PlotterHelp.md"})
        EXPECT_GT(examples[guide], 0) << guide;
}

// Every guide's words come out of its PDF as they were written: headings found by a search.
TEST(HelpDocument, EveryGuidesHeadingWordsAreSearchable) {
    for (const char* name : {"HP9100BHelp", "PlotterHelp", "CardHelp", "9101A"}) {
        SCOPED_TRACE(name);
        QProcess text;
        text.start("pdftotext", {kProgramDir + "/" + name + ".pdf", "-"});
        ASSERT_TRUE(text.waitForFinished());
        const QString pdf = QString::fromUtf8(text.readAllStandardOutput());
        const QString markdown = QString::fromUtf8(
            ReadAll(QStringLiteral(ORRINDALE_SOURCE_DIR "/docs/") + name + ".md"));
        int words = 0;
        for (const QString& line : markdown.split('\n')) {
            if (!line.startsWith('#')) continue;
            for (const QString& word :
                 line.split(QRegularExpression(QStringLiteral("[^A-Za-z]+")), Qt::SkipEmptyParts)) {
                ++words;
                EXPECT_TRUE(pdf.contains(word)) << word.toStdString();
            }
        }
        EXPECT_GT(words, 5);
    }
}

// The card help: a PDF in the program folder, and its table of the rows a slow instruction
// loses in RUN mode is the one the reader goes by.
TEST(CardHelpDocument, IsAPdfAndItsLostRowsAreTheReaders) {
    const QByteArray pdf = ReadAll(kProgramDir + "/CardHelp.pdf");
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    const QString text =
        QString::fromUtf8(ReadAll(QStringLiteral(ORRINDALE_SOURCE_DIR "/docs/CardHelp.md")));
    const QRegularExpression row(QStringLiteral(R"(^\| ([^|]+) \| (\d+) \|$)"),
                                 QRegularExpression::MultilineOption);
    int listed = 0;
    for (auto it = row.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        for (const QString& name : match.captured(1).split(QStringLiteral(", "))) {
            SCOPED_TRACE(name.toStdString());
            int pos = 1;
            while (pos <= kKeyCount && name != KeyNames[static_cast<size_t>(pos)])
                ++pos;
            ASSERT_LE(pos, kKeyCount);
            EXPECT_EQ(KeyBusyRows[static_cast<size_t>(pos)], match.captured(2).toInt());
            ++listed;
        }
    }
    EXPECT_EQ(listed, std::count_if(KeyBusyRows.begin(), KeyBusyRows.end(),
                                    [](int rows) { return rows > 0; }));
}

} // namespace
} // namespace orrindale
