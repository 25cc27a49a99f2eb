#include "export/ComposePageSize.h"

#include "model/TalSection.h"
#include "model/TalDocProperties.h"

#include <cmath>

namespace {

PrinterPageSizeSource g_printerPageSize = nullptr;

}  // namespace

void SetPrinterPageSizeSource(PrinterPageSizeSource source)
{
    g_printerPageSize = source;
}

void GetComposePageSize(const CTalDocProperties& properties, bool printerSize, double& width, double& height)
{
    width = kA4Width;
    height = kA4Height;
    if (printerSize) {
        if (g_printerPageSize)
            g_printerPageSize(width, height);
    } else {
        properties.GetPageSize(width, height, true);
    }
    if (!(width > 0) || !std::isfinite(width) || !(height > 0) || !std::isfinite(height)) {
        width = kA4Width;
        height = kA4Height;
    }
}
