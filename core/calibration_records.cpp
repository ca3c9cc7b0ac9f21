#include "calibration_records.h"

namespace morvane {

void CalibrationDataSet::resetToPlaceholders() {
    SampleCount = 0;
    ReferencePreparationName = Value("RP");
    WorkingPreparationName = Value("WP");
    ISIReference = Value("ISI");
    SEISIReference = Value("SEISI");
}

} // namespace morvane
