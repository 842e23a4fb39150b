#include "NoteRenderer.h"

#include "NoteDrawingPainter.h"
#include "NoteLayout.h"
#include "NotePages.h"
#include "OdtPackage.h"
#include "SheetForms.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <vector>

namespace {

QString Text(const std::string& utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

QTextCharFormat CharFormat(qreal pointSize, bool bold)
{
    QTextCharFormat format;
    format.setFontFamilies({NoteFontFamilyName()});
    format.setFontPointSize(pointSize);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    return format;
}

Qt::Alignment AlignmentOf(korvelin::CellAlignment alignment)
{
    switch (alignment) {
    case korvelin::CellAlignment::Right:
        return Qt::AlignRight;
    case korvelin::CellAlignment::Center:
        return Qt::AlignHCenter;
    case korvelin::CellAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

// The formats every table shares, made once for the whole note: setting a format builds it
// property by property, and a note has thousands of cells.
struct TableFormats {
    TableFormats()
    {
        // Collapsed borders are the cells' own: each is ruled with a thin line.
        Cell.setBorder(0.5);
        Cell.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        Cell.setBorderBrush(Qt::black);
        HeadCell = Cell;
        HeadCell.setBackground(QColor(0xE8, 0xE8, 0xE8));
        for (Qt::Alignment alignment : {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter}) {
            QTextBlockFormat block;
            block.setAlignment(alignment);
            Blocks.push_back(block);
        }
    }
    const QTextBlockFormat& Block(Qt::Alignment alignment) const
    {
        return alignment == Qt::AlignRight ? Blocks[1] : alignment == Qt::AlignHCenter ? Blocks[2] : Blocks[0];
    }

    QTextTableCellFormat Cell;
    QTextTableCellFormat HeadCell;
    std::vector<QTextBlockFormat> Blocks;  // left, right, centred
};

// Whether the character at `i` is a slash between two other characters of a block, after which
// a word joiner keeps the term whole ("Н/м", "t/q", "L/150").
bool SlashInsideTerm(const QString& block, qsizetype i)
{
    return block.at(i) == QLatin1Char('/') && i >= 1 && i + 1 < block.size() && !block.at(i - 1).isSpace()
           && !block.at(i + 1).isSpace();
}

// The formats of the text and the tables, made once for the whole note.
struct NoteFormats {
    NoteFormats()
    {
        for (QTextCharFormat* lowered : {&Lowered[0], &Lowered[1]})
            lowered->setVerticalAlignment(QTextCharFormat::AlignSubScript);
        for (QTextCharFormat* raised : {&Raised[0], &Raised[1]})
            raised->setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    }

    QTextCharFormat Title = CharFormat(TitlePoints, true);
    QTextCharFormat Heading = CharFormat(HeadingPoints, true);
    QTextCharFormat Plain[2] = {CharFormat(BodyPoints, false), CharFormat(BodyPoints, true)};
    QTextCharFormat Lowered[2] = {Plain[0], Plain[1]};  // normal and bold
    QTextCharFormat Raised[2] = {Plain[0], Plain[1]};
    TableFormats Tables;
};

// Writes the texts of the note at a cursor; on the printed sheets with a word joiner after every
// slash inside a term, so that no line breaks after it. Only the sheets get the joiners: the
// document shown in a window, the ODT and the text a reader copies from the PDF have none.
class TextInserter
{
public:
    explicit TextInserter(bool keepSlashedTermsWhole) : KeepWhole(keepSlashedTermsWhole) {}

    // A text that makes whole blocks (a line end in it starts a new block).
    void Insert(QTextCursor& cursor, const QString& text, const QTextCharFormat& format) const
    {
        if (!KeepWhole || !text.contains(QLatin1Char('/'))) {
            cursor.insertText(text, format);
            return;
        }
        QString joined;
        joined.reserve(text.size() + 4);
        for (qsizetype i = 0; i < text.size(); ++i) {
            joined += text.at(i);
            if (SlashInsideTerm(text, i))
                joined += Joiner;
        }
        cursor.insertText(joined, format);
    }

    // A paragraph's text with its marks: "_{…}" set lower, "^{…}" higher, the rest as it stands.
    // A slash is judged by its neighbours as the paragraph shows them.
    void InsertFormula(QTextCursor& cursor, const std::string& formula, const NoteFormats& formats, bool bold) const
    {
        const std::vector<korvelin::FormulaRun> runs = korvelin::FormulaRuns(formula);
        if (runs.size() == 1 && runs.front().Shift == 0) {
            Insert(cursor, Text(runs.front().Text), formats.Plain[bold]);
            return;
        }
        QString shown;
        for (const korvelin::FormulaRun& run : runs)
            shown += Text(run.Text);
        qsizetype at = 0;  // where the run starts in what is shown
        for (const korvelin::FormulaRun& run : runs) {
            const QString text = Text(run.Text);
            const QTextCharFormat& format = run.Shift < 0   ? formats.Lowered[bold]
                                            : run.Shift > 0 ? formats.Raised[bold]
                                                            : formats.Plain[bold];
            if (KeepWhole) {
                QString joined;
                for (qsizetype i = 0; i < text.size(); ++i) {
                    joined += text.at(i);
                    if (SlashInsideTerm(shown, at + i))
                        joined += Joiner;
                }
                cursor.insertText(joined, format);
            } else {
                cursor.insertText(text, format);
            }
            at += text.size();
        }
    }

private:
    static constexpr QChar Joiner{0x2060};
    bool KeepWhole;
};

// Inserts the table at the cursor and fills its cells in order, row by row, with the formats made
// once. The cursor ends after the table, at the end of the document.
QTextTable* InsertTable(QTextCursor& cursor, const korvelin::NoteTable& table, const NoteFormats& formats,
                        const TextInserter& text)
{
    if (table.Rows.empty())
        return nullptr;
    std::size_t columns = 0;
    for (const auto& row : table.Rows)
        columns = std::max(columns, row.size());
    QTextTableFormat format;
    format.setBorder(0.5);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(Qt::black);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(3);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setHeaderRowCount(table.HeaderRows);
    if (table.WidthPercent.size() == columns) {
        QList<QTextLength> widths;
        for (int percent : table.WidthPercent)
            widths.append(QTextLength(QTextLength::PercentageLength, percent));
        format.setColumnWidthConstraints(widths);
    }
    format.setTopMargin(4);
    format.setBottomMargin(6);
    QTextTable* textTable = cursor.insertTable(int(table.Rows.size()), int(columns), format);
    for (std::size_t r = 0; r < table.Rows.size(); ++r) {
        const bool header = int(r) < table.HeaderRows;
        for (std::size_t c = 0; c < table.Rows[r].size(); ++c) {
            const korvelin::NoteCell& cell = table.Rows[r][c];
            QTextTableCell textCell = textTable->cellAt(int(r), int(c));
            textCell.setFormat(header ? formats.Tables.HeadCell : formats.Tables.Cell);
            QTextCursor cellCursor = textCell.firstCursorPosition();
            cellCursor.setBlockFormat(formats.Tables.Block(c < table.Alignment.size() && !header
                                                               ? AlignmentOf(table.Alignment[c])
                                                               : Qt::AlignLeft));
            text.Insert(cellCursor, Text(cell.Text), formats.Plain[cell.Bold || header]);
        }
    }
    cursor.movePosition(QTextCursor::End);
    return textTable;
}

QPageLayout::Orientation OrientationOf(const korvelin::NoteDocument& note)
{
    return note.Orientation == korvelin::PageOrientation::Landscape ? QPageLayout::Landscape
                                                                    : QPageLayout::Portrait;
}

// Why a file could not be written, in the user's words.
QString FailureReason(const QSaveFile& file, const QString& path)
{
    const QFileInfo info(path);
    const QDir folder = info.absoluteDir();
    if (!folder.exists())
        return QStringLiteral("папка %1 не существует").arg(QDir::toNativeSeparators(folder.path()));
    if (info.isDir())
        return QStringLiteral("это имя занято папкой");
    if (!QFileInfo(folder.path()).isWritable() || file.error() == QFileDevice::PermissionsError)
        return QStringLiteral("нет прав на запись в папку %1")
            .arg(QDir::toNativeSeparators(folder.path()));
    switch (file.error()) {
    case QFileDevice::WriteError:
    case QFileDevice::ResourceError:
        return QStringLiteral("ошибка записи, возможно, диск заполнен (%1)").arg(file.errorString());
    default:
        return file.errorString();
    }
}

} // namespace

// The cursor that only appends, with the formats made once.
struct NoteLayoutBuilder::Writer {
    Writer(QTextDocument& document, bool keepSlashedTermsWhole) : Cursor(&document), Text(keepSlashedTermsWhole) {}

    QTextCursor Cursor;
    const NoteFormats Formats;
    const TextInserter Text;
};

NoteLayoutBuilder::NoteLayoutBuilder(const korvelin::NoteDocument& note, const LayoutTarget& target) : Model(note)
{
    LaidOut.Document = std::make_unique<QTextDocument>();
    QTextDocument* document = LaidOut.Document.get();
    QFont font(NoteFontFamilyName());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(BodyPoints);
    document->setDefaultFont(font);
    document->setDocumentMargin(0);
    document->setMetaInformation(QTextDocument::DocumentTitle, Text(note.Title));
    // The device and the page first: the text is laid out once, for them, as it is written.
    if (target.Device != nullptr)
        document->documentLayout()->setPaintDevice(target.Device);
    if (!target.PageSize.isEmpty())
        document->setPageSize(target.PageSize);
    document->setUndoRedoEnabled(false);

    Out = std::make_unique<Writer>(*document, target.KeepSlashedTermsWhole);
    QTextCursor& cursor = Out->Cursor;
    cursor.beginEditBlock();
    QTextBlockFormat title;
    title.setAlignment(Qt::AlignHCenter);
    title.setBottomMargin(8);
    cursor.setBlockFormat(title);
    LaidOut.Blocks.push_back({cursor.position(), nullptr, true});
    Out->Text.Insert(cursor, Text(note.Title), Out->Formats.Title);
    cursor.endEditBlock();
}

NoteLayoutBuilder::~NoteLayoutBuilder() = default;

bool NoteLayoutBuilder::Append(std::size_t count)
{
    if (Next >= Model.Blocks.size())
        return false;
    QTextCursor& cursor = Out->Cursor;
    const NoteFormats& formats = Out->Formats;
    const TextInserter& text = Out->Text;
    // One edit: the document is laid out when the blocks are written, not after every insertion.
    cursor.beginEditBlock();
    for (const std::size_t end = std::min(Model.Blocks.size(), Next + count); Next < end; ++Next) {
        const korvelin::NoteBlock& block = Model.Blocks[Next];
        QTextBlockFormat format;
        if (const auto* heading = std::get_if<korvelin::NoteHeading>(&block)) {
            format.setTopMargin(10);
            format.setBottomMargin(2);
            cursor.insertBlock(format);
            LaidOut.Blocks.push_back({cursor.position(), nullptr, true});
            text.Insert(cursor, Text(heading->Text), formats.Heading);
        } else if (const auto* paragraph = std::get_if<korvelin::NoteParagraph>(&block)) {
            format.setTopMargin(paragraph->Bold ? 6 : paragraph->Formula ? 1 : 3);
            format.setBottomMargin(paragraph->Formula ? 1 : 2);
            if (paragraph->Formula)
                format.setLeftMargin(14);
            cursor.insertBlock(format);
            LaidOut.Blocks.push_back({cursor.position(), nullptr, paragraph->KeepWithNext});
            text.InsertFormula(cursor, paragraph->Text, formats, paragraph->Bold);
        } else if (const auto* drawing = std::get_if<korvelin::NoteDrawing>(&block)) {
            // The drawing centred on the text width, its caption under it on the same sheet.
            format.setAlignment(Qt::AlignHCenter);
            format.setTopMargin(6);
            cursor.insertBlock(format);
            LaidOut.Blocks.push_back({cursor.position(), nullptr, !drawing->Caption.empty()});
            InsertNoteDrawing(*LaidOut.Document, cursor, *drawing);
            if (!drawing->Caption.empty()) {
                format.setTopMargin(2);
                format.setBottomMargin(4);
                cursor.insertBlock(format);
                LaidOut.Blocks.push_back({cursor.position(), nullptr, false});
                text.InsertFormula(cursor, drawing->Caption, formats, false);
            }
        } else {
            const int position = cursor.position();
            const auto& noteTable = std::get<korvelin::NoteTable>(block);
            QTextTable* table = InsertTable(cursor, noteTable, formats, text);
            LaidOut.Blocks.push_back({position, table, noteTable.KeepWithNext});
        }
    }
    cursor.endEditBlock();
    return true;
}

LaidOutNote LayOutNote(const korvelin::NoteDocument& note, const LayoutTarget& target)
{
    NoteLayoutBuilder builder(note, target);
    builder.Append(note.Blocks.size());
    return builder.Take();
}

std::unique_ptr<QTextDocument> RenderNote(const korvelin::NoteDocument& note)
{
    return LayOutNote(note).Document;
}

void PrintNote(const korvelin::NoteDocument& note, QPagedPaintDevice& device)
{
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(OrientationOf(note));
    // The sheets place everything themselves, measured from the edge of the paper; a printer
    // keeps its own least margins.
    device.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    PaintNoteSheets(note, device);
}

QString WriteNotePdf(const korvelin::NoteDocument& note, const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Не удалось сохранить файл «%1»: %2.").arg(shown, FailureReason(file, path));
    {
        QPdfWriter writer(&file);
        writer.setTitle(Text(note.Title));
        writer.setCreator(QStringLiteral("Korvelin"));
        writer.setResolution(600);
        PrintNote(note, writer);
    }
    if (file.error() != QFileDevice::NoError || !file.commit()) {
        const QString reason = FailureReason(file, path);
        file.cancelWriting();
        return QStringLiteral("Не удалось сохранить файл «%1»: %2.").arg(shown, reason);
    }
    return {};
}

QString WriteNoteOdt(const korvelin::NoteDocument& note, const QString& path)
{
    const QByteArray package = NoteOdtPackage(note);
    if (package.isEmpty())
        return QStringLiteral("Не удалось сохранить файл «%1»: документ ODT не составлен.")
            .arg(QDir::toNativeSeparators(path));
    return WriteFileAtomically(path, package);
}

QString WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    const QString shown = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Не удалось сохранить файл «%1»: %2.").arg(shown, FailureReason(file, path));
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = FailureReason(file, path);
        file.cancelWriting();
        return QStringLiteral("Не удалось сохранить файл «%1»: %2.").arg(shown, reason);
    }
    return {};
}
