// Commands to the card printer as small RAW print jobs. The writer only reports what
// became of a job; the dialog that sent it tells the user.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What a RAW job does when the spooler refuses to start its document.
enum class StartFailure { kAbandon, kContinue };

// What became of a RAW job.
enum class JobResult {
    kNotOpened,  // the printer could not be opened: nothing was sent
    kAbandoned,  // the spooler did not start the document and the job was abandoned
    kSent,       // every block was written whole and the job ended
    kFailed,     // a write failed or fell short (or nothing could carry it): the job was aborted
};

// One RAW job named `documentName` on `printerName`: each block is one write, with its
// exact bytes. A job whose write fails or takes fewer bytes than it was given is aborted
// (AbortPrinter), never ended as complete: the printer must not get a command stream
// with a command missing.
JobResult SendRawJob(const wchar_t* printerName, const wchar_t* documentName, const std::vector<std::string>& blocks,
                     StartFailure onStartFailure);
// The same on a printer handle the caller keeps open.
JobResult SendRawJobOn(HANDLE printer, const wchar_t* documentName, const std::vector<std::string>& blocks,
                       StartFailure onStartFailure);
