// mkhelp: typesets a Markdown user guide as an A4 PDF with page numbers.
//
//     mkhelp GUIDE.md OUTPUT.pdf
//
// Runs without a display (it picks Qt's offscreen platform unless told otherwise), so the
// build can make the help documents anywhere.
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <cstdio>

namespace {

const QColor kRuleColour(150, 150, 150);
const QColor kHeaderShade(228, 228, 228);

// Thin ruled tables with a shaded header row: the importer's default tables have no rules.
void StyleTable(QTextTable* table) {
    QTextTableFormat format = table->format();
    format.setBorder(0.6);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(kRuleColour);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(2);
    format.setTopMargin(4);
    format.setBottomMargin(8);
    format.setHeaderRowCount(1); // repeated at the top of each page the table runs onto
    table->setFormat(format);
    for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
            QTextTableCell cell = table->cellAt(row, column);
            QTextTableCellFormat ruled = cell.format().toTableCellFormat();
            ruled.setBorder(0.6);
            ruled.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            ruled.setBorderBrush(kRuleColour);
            if (row == 0) ruled.setBackground(kHeaderShade);
            cell.setFormat(ruled);
        }
    }
}

void StyleFrames(QTextFrame* frame) {
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child)) StyleTable(table);
        StyleFrames(child);
    }
}

// A little air between paragraphs and above headings; the importer sets none for paragraphs.
void SpaceBlocks(QTextDocument& doc) {
    QTextCursor cursor(&doc);
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        if (format.headingLevel() > 0) {
            format.setTopMargin(format.headingLevel() == 1 ? 0 : 14);
            format.setBottomMargin(6);
        } else if (!block.textList() && !QTextCursor(block).currentTable() &&
                   format.bottomMargin() < 4) {
            format.setBottomMargin(5);
        }
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
    }
}

// Letters as they are: a ligature ("tt", "ti", "fi") comes out of the PDF writer as one glyph
// that copies and searches as nothing, or as a character no search matches.
void WithoutLigatures(QTextDocument& doc) {
    QTextCharFormat plain;
    plain.setFontStyleStrategy(QFont::PreferNoShaping);
    QTextCursor all(&doc);
    all.select(QTextCursor::Document);
    all.mergeCharFormat(plain);
}

bool ReadText(const QString& path, QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    text = QString::fromUtf8(file.readAll());
    return true;
}

QString TitleOf(const QString& markdown) {
    for (const QString& line : markdown.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("# "))) return line.mid(2).trimmed();
    return {};
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkhelp GUIDE.md OUTPUT.pdf\n");
        return 2;
    }
    QString markdown;
    if (!ReadText(QString::fromLocal8Bit(argv[1]), markdown)) {
        std::fprintf(stderr, "mkhelp: cannot read %s\n", argv[1]);
        return 1;
    }

    QTextDocument doc;
    QFont body(QStringLiteral("Carlito"), 11);
    body.setStyleHint(QFont::SansSerif);
    body.setStyleStrategy(QFont::PreferNoShaping);
    doc.setDefaultFont(body);
    doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    StyleFrames(doc.rootFrame());
    SpaceBlocks(doc);
    WithoutLigatures(doc);

    const QString out = QString::fromLocal8Bit(argv[2]);
    QFile::remove(out);
    QPdfWriter writer(out);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(300);
    writer.setTitle(TitleOf(markdown));
    writer.setCreator(QStringLiteral("Orrindale mkhelp"));
    doc.print(&writer);
    if (!QFile::exists(out)) {
        std::fprintf(stderr, "mkhelp: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
