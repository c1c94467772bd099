// Defaults block, encoder jobs and the stored encoder record.
#include "driver/encoder/encoder_store.h"

#include <winspool.h>

#include <cstdlib>
#include <cstring>

#include "driver/channel/channel.h"
#include "driver/encoder/encoder_jobs.h"
#include "driver/entry/dialog_conventions.h"
#include "driver/entry/guard.h"
#include "driver/entry/printer_info.h"
#include "driver/settings/record_rules.h"
#include "driver/settings/record_sizes.h"

namespace {

const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

// Makes the job's blocks and sends them; true when the job reached the printer whole. A
// job without a printer to go to, that cannot be made (an allocation), whose printer
// cannot be opened or whose document the spooler does not start, or that did not reach
// the printer whole (it is aborted), is told to the user.
template <typename MakeBlocks>
bool SendJob(const wchar_t* printerName, const char16_t* documentName, MakeBlocks makeBlocks) {
    JobResult result = JobResult::kNotOpened;
    if (printerName && printerName[0])
        qf::RunOrRecover(
            [&] { result = SendRawJob(printerName, Wide(documentName), makeBlocks(), StartFailure::kAbandon); },
            [&] { result = JobResult::kFailed; });
    if (result == JobResult::kSent) return true;
    TellJobFailed();
    return false;
}

}  // namespace

bool ReadDefaultsBlock(HANDLE printer, uint8_t* block) {
    DRIVER_INFO_2W* driver = qf::ReadDriverInfo(printer);
    const bool read = qf::ReadDefaultsFile(driver, block);
    qf::FreePrinterRecord(driver);
    return read;
}

void RestoreEncoderDefaults(HANDLE printer, qf::EncoderPart part, qf::EncoderSettings& target) {
    uint8_t* block = static_cast<uint8_t*>(std::calloc(1, qf::kPrivateSize));
    const bool read = block && ReadDefaultsBlock(printer, block);
    qf::RestoreEncoderDefaults(part, read ? block : nullptr, target);
    std::free(block);
}

bool SendEncoderSetup(const wchar_t* printerName, const qf::EncoderSettings& settings) {
    return SendJob(printerName, qf::kEncoderJobName, [&] { return qf::EncoderSetupJob(settings); });
}

bool SendTrackSetup(const wchar_t* printerName, const qf::EncoderSettings& settings) {
    return SendJob(printerName, qf::kEncoderJobName, [&] { return qf::TrackSetupJob(settings); });
}

bool SendSingleFeed(const wchar_t* printerName, uint8_t choice) {
    return SendJob(printerName, qf::kSingleFeedJobName, [&] { return qf::SingleFeedJob(choice); });
}

bool StoreEncoderRecord(HANDLE reader, HANDLE writer, const qf::EncoderSettings& settings, const char* trace) {
    DWORD size = 0;
    PRINTER_INFO_2W* info = qf::ReadPrinterInfo(reader, &size);
    bool stored = false;
    if (DEVMODEW* record = qf::StoredDriverRecord(info, size)) {
        auto* bytes = reinterpret_cast<uint8_t*>(record);
        auto* block = reinterpret_cast<qf::PrivateSettings*>(bytes + qf::PrivateOffset(bytes));
        std::memcpy(&block->encoderSettings, &settings, sizeof settings);
        if (trace) OutputDebugStringA(trace);
        stored = SetPrinterW(writer, 2, reinterpret_cast<LPBYTE>(info), 0) != FALSE;
    }
    qf::FreePrinterRecord(info);
    return stored;
}

void SaveEncoderSettings(const wchar_t* printerName, const qf::EncoderSettings& settings) {
    if (!printerName || !printerName[0]) return;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printerName), &printer, &defaults)) return;
    StoreEncoderRecord(printer, printer, settings, "$$$$$$$$$$$$$ SetPrinter called 3\n");
    ClosePrinter(printer);
}
