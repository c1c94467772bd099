// RAW command jobs.
#include "driver/channel/raw_jobs.h"

#include <winspool.h>

#include "driver/platform/owners.h"

JobResult SendRawJob(const wchar_t* printerName, const wchar_t* documentName, const std::vector<std::string>& blocks,
                     StartFailure onStartFailure) {
    qf::PrinterHandle printer;
    if (!printer.Open(printerName, PRINTER_ACCESS_USE)) return JobResult::kNotOpened;
    return SendRawJobOn(printer.Get(), documentName, blocks, onStartFailure);
}

JobResult SendRawJobOn(HANDLE printer, const wchar_t* documentName, const std::vector<std::string>& blocks,
                       StartFailure onStartFailure) {
    DOC_INFO_1W doc = {const_cast<LPWSTR>(documentName), nullptr, const_cast<LPWSTR>(L"RAW")};
    if (StartDocPrinterW(printer, 1, reinterpret_cast<LPBYTE>(&doc)) == 0 && onStartFailure == StartFailure::kAbandon)
        return JobResult::kAbandoned;
    StartPagePrinter(printer);
    for (const std::string& block : blocks) {
        DWORD written = 0;
        if (!WritePrinter(printer, const_cast<char*>(block.data()), static_cast<DWORD>(block.size()), &written) ||
            written != block.size()) {
            AbortPrinter(printer);
            return JobResult::kFailed;
        }
    }
    EndPagePrinter(printer);
    // A job the spooler cannot end has not been handed on whole.
    if (!EndDocPrinter(printer)) {
        AbortPrinter(printer);
        return JobResult::kFailed;
    }
    return JobResult::kSent;
}
