#pragma once

#include "export/export_driver.h"

namespace typeloom::exporters {

// The Microchip writers.
bool writeMicrochipC(ExportContext& context);
bool writeMicrochipBin(ExportContext& context);

}  // namespace typeloom::exporters
