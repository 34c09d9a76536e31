#pragma once

#include "export/export_driver.h"

namespace typeloom::exporters {

// The General writers.
bool writeGeneralC(ExportContext& context);
bool writeGeneralBin(ExportContext& context);

}  // namespace typeloom::exporters
