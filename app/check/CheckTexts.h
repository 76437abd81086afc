#pragma once
// What the loop check dialog says, in the window's language: why a check is
// refused before anything is sent, where the run stands, how it ended, and
// the values of its points as the table shows them.

#include <QString>

#include "app/check/LoopCheckRunner.h"
#include "check/PointPlan.h"

namespace vadero {

QString PlanRefusalText(const check::PlanRefusal& refusal);
// The line under the table while a run goes on, and once it ended.
QString RunText(const LoopCheckRunner& runner);
// "CONFORME", "NON CONFORME", "INCOMPLET".
QString VerdictText(check::Verdict verdict);
// "montée", "descente".
QString DirectionText(check::Direction direction);
// A point's result: "conforme", "HORS TOL.", "Dep+", "Dep-".
QString ResultText(const check::PointResult& point);

// Values with the locale's decimal separator: calibrator values and ideal
// readings to three decimals, errors signed.
QString Value3(double value);
QString SignedError(double error);
// A reading as its entry takes and shows it: up to four decimals.
QString ReadingText(double value);

}  // namespace vadero
