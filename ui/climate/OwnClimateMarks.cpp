#include "OwnClimateMarks.h"

#include "InputModel.h"
#include "Utf8Text.h"

#include <QComboBox>

OwnClimateMarks::OwnClimateMarks(InputModel& model, const std::array<QComboBox*, 3>& regions, QObject* parent)
    : QObject(parent)
    , Model(model)
    , Regions(regions)
{
    connect(&Model, &InputModel::changed, this, [this](InputModel::Parts parts) {
        if (parts & InputModel::Part::OwnClimate)
            Show();
    });
    Show();
}

void OwnClimateMarks::Show()
{
    const korvelin::OwnClimateTexts& own = Model.OwnClimate();
    for (std::size_t i = 0; i < Regions.size(); ++i) {
        const korvelin::ClimateValue which = korvelin::kClimateValues[i];
        const korvelin::OwnClimateEntry& entry = own.*korvelin::InfoOf(which).Entry;
        Regions[i]->setToolTip(
            entry.InForce ? QStringLiteral("Задано свое значение: %1. Табличное значение района не используется.")
                                .arg(FromUtf8(korvelin::OwnValueText(which, entry, Model.DecimalSeparator())))
                          : QString());
    }
}
