// Defaults block, encoder jobs and the stored encoder record.
#include "driver/encoder/encoder_store.h"

#include <winspool.h>

#include <cstdlib>
#include <cstring>

#include "driver/channel/raw_jobs.h"
#include "driver/encoder/encoder_jobs.h"
#include "driver/platform/guard.h"
#include "driver/platform/owners.h"
#include "driver/platform/printer_info.h"
#include "driver/settings/record_rules.h"
#include "driver/settings/record_sizes.h"
#include "driver/settings/stored_records.h"
#include "driver/ui/dialog_conventions.h"

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

void RestoreEncoderDefaults(HANDLE printer, qf::EncoderPart part, qf::EncoderSettings& target) {
    uint8_t* block = static_cast<uint8_t*>(std::calloc(1, qf::kPrivateSize));
    const bool read = block && qf::ReadDefaultsBlock(printer, block);
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

bool CanStoreEncoderParts(const wchar_t* printerName) {
    if (!printerName || !printerName[0]) return false;
    qf::PrinterHandle printer;
    if (!printer.Open(printerName, PRINTER_ACCESS_ADMINISTER)) return false;
    const qf::StoredSettingsEdit edit(printer.Get());
    return edit.Settings() != nullptr;
}

bool StoreEncoderParts(const wchar_t* printerName, const qf::EncoderSettings& settings, EncoderParts parts,
                       const char* trace) {
    if (!printerName || !printerName[0] || (!parts.general && !parts.tracks)) return false;
    qf::PrinterHandle printer;
    if (!printer.Open(printerName, PRINTER_ACCESS_ADMINISTER)) return false;
    qf::StoredSettingsEdit edit(printer.Get());
    qf::PrivateSettings* stored = edit.Settings();
    if (!stored) return false;
    qf::EncoderSettings merged;
    std::memcpy(&merged, &stored->encoderSettings, sizeof merged);
    if (parts.general) qf::CopyEncoderPart(qf::EncoderPart::kGeneral, settings, merged);
    if (parts.tracks) qf::CopyEncoderPart(qf::EncoderPart::kTracks, settings, merged);
    std::memcpy(&stored->encoderSettings, &merged, sizeof merged);
    return edit.Store(printer.Get(), trace);
}
