#pragma once
// Printing of prepared reports: the pages onto a QPrinter, and the printer
// choice dialog and modal preview that TQuickRep::Print / Preview open.
#include "reports/ReportEngine.h"

class QPrinter;

// Prints every prepared page (from..to, 1-based; 0 = all) on the printer.
// Returns false when the printer could not be started.
bool QRPrintPages(const TQRPreparedReport& pages, QPrinter& printer, int from = 0, int to = 0);

// Installs the print and modal preview of TQuickRep::Print / Preview
// (printer choice dialog, preview window).
void QRInstallDevices();
