#include "NoteRenderer.h"

#include "NoteDrawingPainter.h"
#include "NoteLayout.h"
#include "NotePages.h"
#include "OdtPackage.h"

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

namespace {

QString Text(const std::string& utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

constexpr qreal BodyPointSize = 9.5;
const QString FontFamily = QStringLiteral("DejaVu Sans");

QTextCharFormat CharFormat(qreal pointSize, bool bold)
{
    QTextCharFormat format;
    format.setFontFamilies({FontFamily});
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

QTextTable* InsertTable(QTextCursor& cursor, const korvelin::NoteTable& table)
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
            // Collapsed borders are the cells' own: each is ruled with a thin line.
            QTextTableCellFormat ruled = textCell.format().toTableCellFormat();
            ruled.setBorder(0.5);
            ruled.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            ruled.setBorderBrush(Qt::black);
            if (header)
                ruled.setBackground(QColor(0xE8, 0xE8, 0xE8));
            textCell.setFormat(ruled);
            QTextCursor cellCursor = textCell.firstCursorPosition();
            QTextBlockFormat block;
            block.setAlignment(c < table.Alignment.size() && !header
                                   ? AlignmentOf(table.Alignment[c])
                                   : Qt::AlignLeft);
            cellCursor.setBlockFormat(block);
            cellCursor.insertText(Text(cell.Text), CharFormat(BodyPointSize, cell.Bold || header));
        }
    }
    cursor.movePosition(QTextCursor::End);
    return textTable;
}

// A paragraph's text with its marks: "_{…}" set lower, "^{…}" higher, the rest as it stands.
void InsertFormula(QTextCursor& cursor, const std::string& formula, const QTextCharFormat& base)
{
    const QString text = Text(formula);
    QTextCharFormat lowered = base;
    lowered.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    QTextCharFormat raised = base;
    raised.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    QString run;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const qsizetype close = text.indexOf(QLatin1Char('}'), i + 2);
        if ((c == QLatin1Char('_') || c == QLatin1Char('^')) && i + 1 < text.size()
            && text.at(i + 1) == QLatin1Char('{') && close > 0) {
            cursor.insertText(run, base);
            run.clear();
            cursor.insertText(text.mid(i + 2, close - i - 2), c == QLatin1Char('_') ? lowered : raised);
            i = close;
            continue;
        }
        run += c;
    }
    cursor.insertText(run, base);
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

LaidOutNote LayOutNote(const korvelin::NoteDocument& note)
{
    LaidOutNote laidOut;
    laidOut.Document = std::make_unique<QTextDocument>();
    QTextDocument* document = laidOut.Document.get();
    QFont font(FontFamily);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(BodyPointSize);
    document->setDefaultFont(font);
    document->setDocumentMargin(0);
    document->setMetaInformation(QTextDocument::DocumentTitle, Text(note.Title));

    QTextCursor cursor(document);
    QTextBlockFormat title;
    title.setAlignment(Qt::AlignHCenter);
    title.setBottomMargin(8);
    cursor.setBlockFormat(title);
    laidOut.Blocks.push_back({cursor.position(), nullptr, true});
    cursor.insertText(Text(note.Title), CharFormat(14, true));

    for (const korvelin::NoteBlock& block : note.Blocks) {
        QTextBlockFormat format;
        if (const auto* heading = std::get_if<korvelin::NoteHeading>(&block)) {
            format.setTopMargin(10);
            format.setBottomMargin(2);
            cursor.insertBlock(format);
            laidOut.Blocks.push_back({cursor.position(), nullptr, true});
            cursor.insertText(Text(heading->Text), CharFormat(11.5, true));
        } else if (const auto* paragraph = std::get_if<korvelin::NoteParagraph>(&block)) {
            format.setTopMargin(paragraph->Bold ? 6 : paragraph->Formula ? 1 : 3);
            format.setBottomMargin(paragraph->Formula ? 1 : 2);
            if (paragraph->Formula)
                format.setLeftMargin(14);
            cursor.insertBlock(format);
            laidOut.Blocks.push_back({cursor.position(), nullptr, paragraph->KeepWithNext});
            InsertFormula(cursor, paragraph->Text, CharFormat(BodyPointSize, paragraph->Bold));
        } else if (const auto* drawing = std::get_if<korvelin::NoteDrawing>(&block)) {
            // The drawing centred on the text width, its caption under it on the same sheet.
            format.setAlignment(Qt::AlignHCenter);
            format.setTopMargin(6);
            cursor.insertBlock(format);
            laidOut.Blocks.push_back({cursor.position(), nullptr, !drawing->Caption.empty()});
            InsertNoteDrawing(*document, cursor, *drawing);
            if (!drawing->Caption.empty()) {
                format.setTopMargin(2);
                format.setBottomMargin(4);
                cursor.insertBlock(format);
                laidOut.Blocks.push_back({cursor.position(), nullptr, false});
                InsertFormula(cursor, drawing->Caption, CharFormat(BodyPointSize, false));
            }
        } else {
            const int position = cursor.position();
            const auto& noteTable = std::get<korvelin::NoteTable>(block);
            QTextTable* table = InsertTable(cursor, noteTable);
            laidOut.Blocks.push_back({position, table, noteTable.KeepWithNext});
        }
    }
    return laidOut;
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
