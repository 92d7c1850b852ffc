#pragma once
// The printer options of the profile's option bytes (dialog "Настройка принтера").
namespace orbeta {

constexpr int kOptPrinterMono = 9;        // black-and-white printer
constexpr int kOptPrintDialog = 10;       // the print dialog before printing
constexpr int kOptPrinterLowMemory = 19;  // no sign fill on paper
constexpr int kOptPrinterFill = 20;       // printer fill level 0..4

}  // namespace orbeta
