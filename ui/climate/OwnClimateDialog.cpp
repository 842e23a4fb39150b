#include "OwnClimateDialog.h"

#include "InputModel.h"
#include "MessageSink.h"
#include "NumericKeys.h"
#include "Utf8Text.h"

#include <korvelin/InputSet.h>
#include <korvelin/NumberFormat.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The objects' names, for the tests and the guide: OwnSnowWeight, OwnSnowWeightValue, ….
constexpr std::array<const char*, 3> RowNames = {"OwnSnowWeight", "OwnWindPressure", "OwnIceThickness"};

QString RangeText(const korvelin::ClimateValueInfo& info, const std::string& separator)
{
    return QStringLiteral("от 0 до %1 %2")
        .arg(FromUtf8(korvelin::FormatGeneral(info.Maximum, separator)), FromUtf8(info.Unit));
}

} // namespace

OwnClimateDialog::OwnClimateDialog(InputModel& model, MessageSink& sink, QWidget* parent)
    : QDialog(parent)
    , Model(model)
    , Sink(sink)
{
    setObjectName(QStringLiteral("OwnClimateDialog"));
    setWindowTitle(QStringLiteral("Свои нормативные значения"));

    auto* explanation = new QLabel(
        QStringLiteral("Отмеченное значение заменяет табличное значение района, выбранного в главном окне: "
                       "расчет ведется по тем же формулам. Источник (например, «СП 20.13330.2016, табл. К.1» "
                       "или отчет об изысканиях) указывается в расчетной записке."),
        this);
    explanation->setWordWrap(true);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Значение"), this), 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Источник"), this), 0, 3);
    const korvelin::OwnClimateTexts& texts = Model.OwnClimate();
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        const korvelin::ClimateValueInfo& info = korvelin::InfoOf(korvelin::kClimateValues[i]);
        const korvelin::OwnClimateEntry& entry = texts.*info.Entry;
        const QString name = QString::fromLatin1(RowNames[i]);
        Row& row = Rows[i];
        row.InForce = new QCheckBox(FromUtf8(info.Name) + u' ' + FromUtf8(info.Symbol), this);
        row.InForce->setObjectName(name);
        row.InForce->setChecked(entry.InForce);
        row.Value = new QLineEdit(FromUtf8(entry.Value), this);
        row.Value->setObjectName(name + QStringLiteral("Value"));
        row.Value->setAlignment(Qt::AlignRight);
        row.Value->setMaxLength(int(korvelin::kMaxInputTextLength));
        row.Value->setMinimumWidth(70);
        row.Value->setToolTip(RangeText(info, Model.DecimalSeparator()));
        row.Value->setAttribute(Qt::WA_InputMethodEnabled, false);
        row.Value->setAcceptDrops(false);
        row.Value->installEventFilter(this);
        row.Source = new QLineEdit(FromUtf8(entry.Source), this);
        row.Source->setObjectName(name + QStringLiteral("Source"));
        row.Source->setMaxLength(int(korvelin::kMaxSourceTextLength));
        row.Source->setMinimumWidth(240);
        row.Source->setPlaceholderText(QStringLiteral("норматив, таблица или отчет"));
        const int line = int(i) + 1;
        grid->addWidget(row.InForce, line, 0);
        grid->addWidget(row.Value, line, 1);
        grid->addWidget(new QLabel(FromUtf8(info.Unit), this), line, 2);
        grid->addWidget(row.Source, line, 3);
        // A value switched off keeps its texts for later, unused.
        const auto enable = [row](bool on) {
            row.Value->setEnabled(on);
            row.Source->setEnabled(on);
        };
        enable(entry.InForce);
        connect(row.InForce, &QCheckBox::toggled, this, enable);
    }
    grid->setColumnStretch(3, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &OwnClimateDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OwnClimateDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

OwnClimateDialog::~OwnClimateDialog() = default;

korvelin::OwnClimateTexts OwnClimateDialog::Texts() const
{
    korvelin::OwnClimateTexts texts;
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        korvelin::OwnClimateEntry& entry = texts.*korvelin::InfoOf(korvelin::kClimateValues[i]).Entry;
        entry.InForce = Rows[i].InForce->isChecked();
        entry.Value = Rows[i].Value->text().toStdString();
        entry.Source = Rows[i].Source->text().trimmed().toStdString();
    }
    return texts;
}

bool OwnClimateDialog::Apply()
{
    const std::string error = Model.SetOwnClimate(Texts());
    if (error.empty())
        return true;
    Sink.ShowMessage(FromUtf8(error));
    // The value named in the message gets the focus: the first value in force that is refused.
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        const Row& row = Rows[i];
        if (row.InForce->isChecked()
            && !korvelin::ReadOwnClimateValue(korvelin::kClimateValues[i], row.Value->text().toStdString(),
                                              Model.DecimalSeparator())
                    .Ok()) {
            row.Value->setFocus();
            row.Value->selectAll();
            break;
        }
    }
    return false;
}

void OwnClimateDialog::accept()
{
    if (Apply())
        QDialog::accept();
}

bool OwnClimateDialog::eventFilter(QObject* watched, QEvent* event)
{
    // The values take the keys of the numeric fields: digits and one decimal comma; the editing
    // shortcuts work, a paste obeys the same rules.
    for (const Row& row : Rows) {
        if (watched == row.Value)
            return FilterNumericFieldEvent(*row.Value, *event);
    }
    return QDialog::eventFilter(watched, event);
}
