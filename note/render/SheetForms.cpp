#include "SheetForms.h"

#include <utility>

namespace {

QString Text(const std::string& utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

// The change rows, then the row of their captions, in the six columns of the left part.
void AddLeftPart(FormGrid& grid, int changeRows)
{
    static const char* const captions[] = {"Изм.", "Кол.уч.", "Лист", "№ док.", "Подп.", "Дата"};
    for (int column = 0; column < 6; ++column) {
        for (int row = 0; row < changeRows; ++row)
            grid.Add(row, column).ThinTop = row > 0;
        grid.Add(changeRows, column, QString::fromUtf8(captions[column]));
    }
}

} // namespace

QString NoteFontFamilyName() { return QString::fromLatin1(NoteFontFamily); }

QRectF FrameRectMm(const QSizeF& paperMm)
{
    return QRectF(QPointF(FrameLeftMm, FrameOtherMm),
                  QPointF(paperMm.width() - FrameOtherMm, paperMm.height() - FrameOtherMm));
}

FormCell& FormGrid::Add(int row, int column, QString text, qreal points)
{
    FormCell& cell = Cells.emplace_back();
    cell.Row = row;
    cell.Column = column;
    cell.Text = std::move(text);
    cell.Points = points;
    return cell;
}

qreal FormGrid::Width(int from, int count) const
{
    qreal width = 0;
    for (int i = from; i < from + count; ++i)
        width += ColumnsMm[std::size_t(i)];
    return width;
}

qreal FormGrid::Height(int from, int count) const
{
    qreal height = 0;
    for (int i = from; i < from + count; ++i)
        height += RowsMm[std::size_t(i)];
    return height;
}

QRectF FormGrid::CellMm(const FormCell& cell) const
{
    return {QPointF(Width(0, cell.Column), Height(0, cell.Row)),
            QSizeF(Width(cell.Column, cell.ColumnSpan), Height(cell.Row, cell.RowSpan))};
}

const FormCell* FormGrid::CellAt(int row, int column) const
{
    for (const FormCell& cell : Cells) {
        if (cell.Row == row && cell.Column == column)
            return &cell;
    }
    return nullptr;
}

FormGrid FirstSheetForm(const korvelin::NoteTitleBlock& b)
{
    FormGrid grid;
    grid.ColumnsMm = {10, 10, 10, 10, 15, 10, 70, 15, 15, 20};
    grid.RowsMm.assign(8, FormRowMm);
    // Two rows of changes and their captions, then five of signatures.
    AddLeftPart(grid, 2);
    const std::pair<const char*, const std::string*> signatures[] = {
        {"Разраб.", &b.Author}, {"Пров.", &b.Checker}, {"", nullptr}, {"Н. контр.", &b.NormControl},
        {"ГИП", &b.ChiefEngineer}};
    for (int i = 0; i < 5; ++i) {
        const int row = 3 + i;
        const std::size_t first = grid.Cells.size();
        grid.Add(row, 0, QString::fromUtf8(signatures[i].first)).ColumnSpan = 2;
        grid.Add(row, 2, signatures[i].second ? Text(*signatures[i].second) : QString(), NamePoints).ColumnSpan = 2;
        grid.Add(row, 4);
        grid.Add(row, 5, i == 0 ? Text(b.Date) : QString());
        for (std::size_t cell = first; cell < grid.Cells.size(); ++cell) {
            grid.Cells[cell].ThinTop = i > 0;
            if (cell < first + 2)
                grid.Cells[cell].Alignment = Qt::AlignLeft | Qt::AlignVCenter;
        }
    }
    FormCell& designation = grid.Add(0, 6, Text(b.Designation), DesignationPoints);
    designation.RowSpan = 3;
    designation.ColumnSpan = 4;
    QString name = Text(b.Object);
    if (!name.isEmpty())
        name += QLatin1Char('\n');
    name += Text(b.DocumentName);
    grid.Add(3, 6, name, DocumentNamePoints).RowSpan = 5;
    grid.Add(3, 7, QStringLiteral("Стадия"));
    grid.Add(3, 8, QStringLiteral("Лист"));
    grid.Add(3, 9, QStringLiteral("Листов"));
    grid.Add(4, 7, Text(b.Stage), ValuePoints);
    grid.Add(4, 8, QStringLiteral("1"), ValuePoints).Field = FormField::SheetNumber;
    grid.Add(4, 9, QStringLiteral("1"), ValuePoints).Field = FormField::SheetCount;
    FormCell& organization = grid.Add(5, 7, Text(b.Organization), ValuePoints);
    organization.RowSpan = 3;
    organization.ColumnSpan = 3;
    return grid;
}

FormGrid NextSheetForm(const korvelin::NoteTitleBlock& b)
{
    FormGrid grid;
    // The left part's rows of 5 mm beside the sheet number's caption of 7 mm.
    grid.ColumnsMm = {10, 10, 10, 10, 15, 10, 110, 10};
    grid.RowsMm = {5, 2, 3, 5};
    static const char* const captions[] = {"Изм.", "Кол.уч.", "Лист", "№ док.", "Подп.", "Дата"};
    for (int column = 0; column < 6; ++column) {
        grid.Add(0, column);
        FormCell& second = grid.Add(1, column);
        second.RowSpan = 2;
        second.ThinTop = true;
        grid.Add(3, column, QString::fromUtf8(captions[column]));
    }
    grid.Add(0, 6, Text(b.Designation), DesignationPoints).RowSpan = 4;
    grid.Add(0, 7, QStringLiteral("Лист")).RowSpan = 2;
    FormCell& number = grid.Add(2, 7, QStringLiteral("2"), ValuePoints);
    number.RowSpan = 2;
    number.Field = FormField::SheetNumber;
    return grid;
}

FormGrid MarginGraphs(const korvelin::NoteTitleBlock& b)
{
    // From the bottom of the frame up: the original's inventory number, its signature and date,
    // the inventory number it replaces.
    const struct {
        const char* Caption;
        const std::string* Value;
        qreal HeightMm;
    } graphs[] = {{"Взам. инв. №", &b.ReplacedInventory, 25},
                  {"Подп. и дата", &b.OriginalSigned, 35},
                  {"Инв. № подл.", &b.OriginalInventory, 25}};
    FormGrid grid;
    grid.ColumnsMm = {MarginCaptionWidthMm, MarginValueWidthMm};
    for (const auto& graph : graphs) {
        const int row = int(grid.RowsMm.size());
        grid.RowsMm.push_back(graph.HeightMm);
        grid.Add(row, 0, QString::fromUtf8(graph.Caption)).Upward = true;
        grid.Add(row, 1, Text(*graph.Value), NamePoints).Upward = true;
    }
    return grid;
}
