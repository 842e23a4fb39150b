#include "DocumentFieldsDialog.h"

#include "DocumentFieldCheck.h"
#include "InputModel.h"
#include "MessageSink.h"
#include "Utf8Text.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

// The captions of the fields in the dialog, in the order of kDocumentFieldKeys.
constexpr const char* Captions[] = {
    "Объект:", "Обозначение документа (шифр):", "Организация:", "Стадия:",
    "Разработал (Разраб.):", "Проверил (Пров.):", "Нормоконтроль (Н. контр.):",
    "Главный инженер проекта (ГИП):", "Взамен инв. № (Взам. инв. №):", "Подпись и дата подлинника (Подп. и дата):",
    "Инв. № подлинника (Инв. № подл.):",
};
static_assert(std::size(Captions) == korvelin::kDocumentFieldKeys.size());

// The fields kept for the next new set: the organization and the people, not the project's own.
constexpr std::string_view RememberedKeys[] = {"organization", "author", "checker", "normControl",
                                               "chiefEngineer"};

QString SettingsKey(std::string_view key)
{
    return QStringLiteral("DocumentFields/") + FromUtf8(key);
}

} // namespace

DocumentFieldsDialog::DocumentFieldsDialog(const korvelin::DocumentFields& fields, MessageSink& sink,
                                           QWidget* parent)
    : QDialog(parent)
    , Sink(sink)
{
    setObjectName(QStringLiteral("DocumentFieldsDialog"));
    setWindowTitle(QStringLiteral("Сведения о документе"));
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    for (std::size_t i = 0; i < Edits.size(); ++i) {
        const korvelin::DocumentFieldKey& key = korvelin::kDocumentFieldKeys[i];
        auto* edit = new QLineEdit(FromUtf8(fields.*key.Field), this);
        edit->setObjectName(FromUtf8(key.Key));
        // Wide enough for an object's name of a line; longer texts scroll.
        edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 48);
        form->addRow(QString::fromUtf8(Captions[i]), edit);
        Edits[i] = edit;
    }
    Frame = new QCheckBox(QStringLiteral("Рамка и основная надпись"), this);
    Frame->setObjectName(QStringLiteral("Frame"));
    Frame->setChecked(korvelin::FrameWanted(fields));
    FrameSetByUser = fields.Frame.has_value();
    form->addRow(QString(), Frame);
    // Until the user sets the switch, it follows the designation: on when one is given.
    QLineEdit* designation = Edits[1];
    connect(designation, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!FrameSetByUser)
            Frame->setChecked(!text.isEmpty());
    });
    connect(Frame, &QCheckBox::clicked, this, [this] { FrameSetByUser = true; });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &DocumentFieldsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DocumentFieldsDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

korvelin::DocumentFields DocumentFieldsDialog::Fields() const
{
    korvelin::DocumentFields fields;
    for (std::size_t i = 0; i < Edits.size(); ++i)
        fields.*korvelin::kDocumentFieldKeys[i].Field = Edits[i]->text().toStdString();
    if (Frame->isChecked() != !fields.Designation.empty())
        fields.Frame = Frame->isChecked();
    return fields;
}

void DocumentFieldsDialog::accept()
{
    for (std::size_t i = 0; i < Edits.size(); ++i) {
        korvelin::DocumentFields one;
        one.*korvelin::kDocumentFieldKeys[i].Field = Edits[i]->text().toStdString();
        const QString problem = CheckDocumentFields(one);
        if (!problem.isEmpty()) {
            Sink.ShowMessage(problem);
            Edits[i]->setFocus();
            Edits[i]->selectAll();
            return;
        }
    }
    QDialog::accept();
}

DocumentFieldsCommand::DocumentFieldsCommand(InputModel& model, MessageSink& sink, QSettings& settings,
                                             QWidget& window)
    : Model(model)
    , Sink(sink)
    , Settings(settings)
    , Window(window)
    , Command(new QAction(QStringLiteral("Сведения о документе…"), &window))
{
    Command->setObjectName(QStringLiteral("ActionDocumentFields"));
    connect(Command, &QAction::triggered, this, &DocumentFieldsCommand::Open);
}

void DocumentFieldsCommand::Apply(const korvelin::DocumentFields& fields)
{
    Model.SetDocument(fields);
    for (const korvelin::DocumentFieldKey& key : korvelin::kDocumentFieldKeys) {
        if (std::find(std::begin(RememberedKeys), std::end(RememberedKeys), key.Key) != std::end(RememberedKeys))
            Settings.setValue(SettingsKey(key.Key), FromUtf8(fields.*key.Field));
    }
}

void DocumentFieldsCommand::Open()
{
    DocumentFieldsDialog dialog(Model.Document(), Sink, &Window);
    if (dialog.exec() == QDialog::Accepted)
        Apply(dialog.Fields());
}

korvelin::DocumentFields RememberedDocumentFields(QSettings& settings)
{
    korvelin::DocumentFields fields;
    for (const korvelin::DocumentFieldKey& key : korvelin::kDocumentFieldKeys) {
        if (std::find(std::begin(RememberedKeys), std::end(RememberedKeys), key.Key) == std::end(RememberedKeys))
            continue;
        korvelin::DocumentFields one;
        one.*key.Field = settings.value(SettingsKey(key.Key)).toString().toStdString();
        // A value spoilt in the settings file is left out rather than refused later.
        if (korvelin::DocumentFieldsProblem(one).empty())
            fields.*key.Field = one.*key.Field;
    }
    return fields;
}
