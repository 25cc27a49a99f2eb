#pragma once
// The page size a composition works with, in tenths of a millimetre.
class CTalDocProperties;

constexpr double kA4Width = 2100.0;
constexpr double kA4Height = 2970.0;

// The application's printer page setup: fills width and height (a 0 in the
// setup is first replaced by 2100 or 2970 there). The editor installs it.
typedef void (*PrinterPageSizeSource)(double& width, double& height);
void SetPrinterPageSizeSource(PrinterPageSizeSource source);

// With printerSize the printer page setup (A4 when no source is installed),
// else the document's page size with its orientation. A size that is not
// positive (an unknown paper kind) is taken as A4, since every position of
// a page is a fraction of it.
void GetComposePageSize(const CTalDocProperties& properties, bool printerSize, double& width, double& height);
