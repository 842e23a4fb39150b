#include "GoverningMarks.h"

#include "InputModel.h"

#include <korvelin/DesignSummary.h>

#include <QLineEdit>

GoverningMarks::GoverningMarks(InputModel& model, const std::array<QLineEdit*, 6>& fields, QObject* parent)
    : QObject(parent)
    , Model(model)
    , Fields(fields)
{
    connect(&Model, &InputModel::calculated, this, &GoverningMarks::Update);
}

void GoverningMarks::Update()
{
    const std::optional<korvelin::DesignSummary> summary = Model.Summary();
    for (std::size_t i = 0; i < Fields.size(); ++i) {
        const auto criterion = static_cast<korvelin::Criterion>(i);
        bool bold = false;
        if (summary) {
            const korvelin::GoverningSpan& governing = summary->Of(korvelin::RuleSetOf(criterion)).Governing;
            bold = governing.Span && governing.Which == criterion;
        }
        QLineEdit& field = *Fields[i];
        if (field.font().bold() != bold) {
            QFont font = field.font();
            font.setBold(bold);
            field.setFont(font);
        }
    }
}
