// The walk over failing platform calls. Each path a caller or a user takes through the
// module runs once to count its calls of each class (allocation, GDI, USER, spooler,
// WritePrinter failing or short, file open, size, read, short read), then once per
// failure point with that one call failing. At every point: no printer handle, file,
// GDI object, window or module heap block is left behind; the printer is not
// left in direct printing; no job is ended with part of its content; no record that is
// stored or handed out is a partial one; and a user's action that failed says so.
//
// The README's test command walks a spread of points on every path (the first, the
// last and a few between); QF_FAILURE_WALK=all walks every point, and
// QF_FAILURE_WALK_PATH=TEXT only the paths whose name contains TEXT.
#include "tests/wine/sheet_dialogs.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>
#include <sstream>

#include "driver/overlay/region_rules.h"
#include "driver/resources/resource.h"
#include "driver/settings/ribbons.h"
#include "driver/settings/record_rules.h"
#include "sim/faults.h"
#include "sim/files.h"

namespace {

using sim::CallClass;

constexpr int kColorItem = 3, kFrontOverlayItem = 10, kHologramItem = 12, kHeadItem = 13;
constexpr int kEncoderItem = 1, kSingleFeedItem = 4;
constexpr int kEncoderAdvanced = 1603, kEncoderCancel = 1605, kEncoderApply = 1655, kTracksApply = 1654;
constexpr int kFeedOff = 1004;

// A file the printer takes as its firmware: byte 14 is the check byte, byte 15 is 0xFF.
std::string PrinterFirmware(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7);
    bytes[14] = '\x3C';
    bytes[15] = '\xFF';
    return bytes;
}

// A monochrome bitmap of 32 x 8 pixels, striped.
std::string StripedBitmap() {
    std::string file(62 + 4 * 8, '\0');
    const uint8_t header[] = {'B', 'M', 94, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40, 0, 0, 0, 32, 0, 0, 0, 8, 0, 0, 0, 1, 0, 1, 0};
    std::memcpy(&file[0], header, sizeof header);
    for (size_t i = 62; i < file.size(); ++i) file[i] = static_cast<char>(0x0F);
    return file;
}

bool WholeWalk() {
    const char* walk = std::getenv("QF_FAILURE_WALK");
    return walk && std::strcmp(walk, "all") == 0;
}

// The points tried for `count` calls: all of them in the whole walk or when there are
// few, else the first, the last and evenly spaced ones between.
std::vector<int> PointsOf(int count) {
    constexpr int kSpread = 6;
    std::vector<int> points;
    if (WholeWalk() || count <= kSpread) {
        for (int n = 1; n <= count; ++n) points.push_back(n);
        return points;
    }
    std::set<int> chosen;
    for (int i = 0; i < kSpread; ++i) chosen.insert(1 + (count - 1) * i / (kSpread - 1));
    return std::vector<int>(chosen.begin(), chosen.end());
}

// What a run saw that the checks need beyond the process and the spooler.
struct RunNotes {
    std::vector<std::string> silences;  // an action that failed without telling the user
    std::vector<std::string> partial;   // a record reported as filled that is not whole
    // The user saw the outcome in the dialog: its status tells the failure, or the button
    // that would start the action is not offered.
    bool told = false;
};

// A job's bytes as the printer reads them, whatever the blocks they came in.
std::string Content(const sim::RawJob& job) {
    std::string bytes;
    for (const std::vector<uint8_t>& block : job.blocks) bytes.append(block.begin(), block.end());
    return bytes;
}

class FailureWalk : public DriverTest {
protected:
    struct Path {
        const char* name;
        std::function<void()> prepare;  // the printer and files before the path
        std::function<void(RunNotes&)> run;
    };

    void SetUp() override {
        DriverTest::SetUp();
        MakeUnwinderTables();
        Fresh();
    }

    // The first exception that unwinds through the module makes the unwinder's tables,
    // which it keeps for the life of the process: a few failing openings make them before
    // the walk counts what the module holds.
    void MakeUnwinderTables() {
        static bool made = false;
        if (made) return;
        made = true;
        for (int n = 1; n <= 5; ++n) {
            Fresh();
            Record in = stored, out(qf::kRecordSize, 0);
            DOCUMENTPROPERTYHEADER header = DocumentHeader(out, &in);
            sim::PropertySheetService service;
            sim::FailCall(CallClass::kAllocation, n);
            service.Open(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"), reinterpret_cast<LPARAM>(&header));
            service.Cancel();
            sim::ResetCalls();
        }
    }
    void TearDown() override {
        CloseHandle();
        DriverTest::TearDown();
    }

    // A fresh simulated printer: a Q862k with a YMCKO ribbon and a magnetic encoder,
    // whose stored default is the driver's record, and the test's own printer handle.
    void Fresh() {
        CloseHandle();
        spooler().Reset(sim::ProgramDirectory());
        spooler().AddPrinter(kTestPrinter);
        sim::ResetUi();
        stored = DriverRecord();
        Private(stored).ribbonType = 0;
        printer().devmode = stored;
        ASSERT_TRUE(sim::SimOpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &handle, nullptr));
    }
    void CloseHandle() {
        if (handle) sim::SimClosePrinter(handle);
        handle = nullptr;
    }
    sim::CardPrinter& card() { return printer().card; }
    std::wstring MakeFile(const std::wstring& name, const std::string& bytes) {
        const std::wstring path = spooler().DriverFile(name);
        EXPECT_TRUE(sim::WriteWholeFile(path, bytes));
        return path;
    }
    bool Told() const { return !sim::Ui().messageBoxes.empty(); }
    bool ToldText(const wchar_t* text) const {
        for (const sim::MessageBoxRecord& box : sim::Ui().messageBoxes)
            if (box.text == text) return true;
        return false;
    }

    // Sheets opened as the service opens them; one that does not open says "System Error".
    LONG OpenDocument(sim::PropertySheetService& service, DOCUMENTPROPERTYHEADER& header, RunNotes& notes) {
        const LONG opened =
            service.Open(Export<QfPropSheetUiProc>("DrvDocumentPropertySheets"), reinterpret_cast<LPARAM>(&header));
        if (opened != 1 && !ToldText(L"System Error")) notes.silences.push_back("the document sheet did not open");
        return opened;
    }
    LONG OpenDevice(sim::PropertySheetService& service, DEVICEPROPERTYHEADER& header, RunNotes& notes) {
        const LONG opened =
            service.Open(Export<QfPropSheetUiProc>("DrvDevicePropertySheets"), reinterpret_cast<LPARAM>(&header));
        if (opened != 1 && !ToldText(L"System Error")) notes.silences.push_back("the device sheet did not open");
        return opened;
    }
    DOCUMENTPROPERTYHEADER DocumentHeader(Record& out, Record* in) {
        return DOCUMENTPROPERTYHEADER{sizeof(DOCUMENTPROPERTYHEADER), 0, handle, const_cast<LPWSTR>(kTestPrinter),
                                      in ? Devmode(*in) : nullptr, Devmode(out), DWORD(qf::kRecordSize),
                                      DM_IN_BUFFER | DM_OUT_BUFFER | DM_IN_PROMPT};
    }
    DEVICEPROPERTYHEADER DeviceHeader() {
        return DEVICEPROPERTYHEADER{sizeof(DEVICEPROPERTYHEADER), 0, handle, const_cast<LPWSTR>(kTestPrinter)};
    }

    // Opens the device sheet and presses push button `item` with `scripts` for the dialog
    // it opens and the ones that dialog opens in turn.
    void DeviceButton(int item, std::vector<sim::DialogScript::Script> scripts, RunNotes& notes, bool apply = false) {
        DEVICEPROPERTYHEADER header = DeviceHeader();
        sim::PropertySheetService service;
        if (OpenDevice(service, header, notes) != 1 || !service.Page()) return;
        if (!RunScripts(service, item, std::move(scripts))) notes.told = true;  // the button is not offered
        if (apply) service.Apply();
        service.Cancel();
    }
    // The sheet edits the printer's stored default (a caller's record would be overlaid
    // with the settings the module last committed).
    void DocumentButton(int item, std::vector<sim::DialogScript::Script> scripts, RunNotes& notes) {
        Record out(qf::kRecordSize, 0);
        DOCUMENTPROPERTYHEADER header = DocumentHeader(out, nullptr);
        sim::PropertySheetService service;
        if (OpenDocument(service, header, notes) != 1 || !service.Page()) return;
        if (!RunScripts(service, item, std::move(scripts))) notes.told = true;
        service.Cancel();
    }
    // Presses the button; false when the sheet does not offer it.
    static bool RunScripts(sim::PropertySheetService& service, int item, std::vector<sim::DialogScript::Script> scripts) {
        sim::DialogScript driver(scripts.front(), 3000);
        for (size_t i = 1; i < scripts.size(); ++i) driver.Then(scripts[i]);
        return service.PushButton(item) != sim::PropertySheetService::kRefused;
    }

    // Runs `path` once with no failure and then once per failure point of every class it
    // reaches, checking what must hold after each run.
    void Walk(const Path& path) {
        Fresh();
        if (path.prepare) path.prepare();
        RunNotes settle;
        path.run(settle);  // lets the module and the platform make what they keep

        const Observed reference = RunOnce(path, CallClass::kCount, 0);
        const sim::CallCounts counts = reference.counts;
        std::ostringstream line;
        line << "walk " << path.name << ":";
        for (size_t c = 0; c < sim::kCallClasses; ++c) {
            const auto callClass = static_cast<CallClass>(c);
            if (counts[c] == 0) continue;
            int reached = 0;
            const std::vector<int> points = PointsOf(counts[c]);
            for (const int n : points) {
                const Observed run = RunOnce(path, callClass, n, &reference);
                reached += run.failed;
            }
            line << " " << sim::CallClassName(callClass) << " " << points.size() << "/" << counts[c];
            if (reached != static_cast<int>(points.size())) line << " (" << reached << " reached)";
        }
        std::printf("%s\n", line.str().c_str());
        std::fflush(stdout);
    }

    // The windows of this thread: every dialog of a path is closed when it ends.
    static BOOL CALLBACK CountWindow(HWND, LPARAM counter) {
        ++*reinterpret_cast<size_t*>(counter);
        return TRUE;
    }
    static size_t Windows() {
        size_t count = 0;
        EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
        return count;
    }

    struct Observed {
        sim::CallCounts counts{};
        int failed = 0;
        std::vector<sim::RawJob> endedJobs;
    };

    using Check = std::function<void(const std::string& where)>;
    Observed RunOnce(const Path& path, CallClass callClass, int nth, const Observed* reference = nullptr,
                     const Check& mended = nullptr) {
        Fresh();
        if (path.prepare) path.prepare();
        const std::string where = std::string(path.name) +
                                  (reference ? std::string(", ") + sim::CallClassName(callClass) + " call " +
                                                   std::to_string(nth) + " fails"
                                             : std::string(", no failure"));
        const DWORD attributes = printer().attributes;
        const int spoolerHandles = spooler().OpenHandleCount();
        const size_t moduleBlocks = sim::ModuleHeapBlocks();
        const size_t moduleFiles = sim::ModuleFiles(), moduleGdi = sim::ModuleGdiObjects();
        const size_t windows = Windows();

        RunNotes notes;
        sim::ResetCalls();
        if (reference) sim::FailCall(callClass, nth);
        path.run(notes);
        Observed observed;
        observed.counts = sim::Calls();
        observed.failed = sim::FailedCalls();
        sim::ResetCalls();

        EXPECT_EQ(spooler().OpenHandleCount(), spoolerHandles) << where << ": printer handles left open";
        EXPECT_EQ(sim::ModuleHeapBlocks(), moduleBlocks) << where << ": heap blocks the module did not give back";
        EXPECT_EQ(sim::ModuleFiles(), moduleFiles) << where << ": files left open";
        EXPECT_EQ(sim::ModuleGdiObjects(), moduleGdi) << where << ": GDI objects left undeleted";
        EXPECT_EQ(Windows(), windows) << where << ": windows";
        EXPECT_EQ(printer().attributes, attributes) << where << ": the printer's attributes (direct printing)";
        for (const std::string& silence : notes.silences) ADD_FAILURE() << where << ": " << silence;
        for (const std::string& partial : notes.partial) ADD_FAILURE() << where << ": " << partial;

        // Every record stored as the printer's default is a whole record of this driver.
        for (const sim::SetPrinterCall& call : spooler().setPrinterLog) {
            if (call.devmode.empty()) continue;
            EXPECT_TRUE(qf::IsUsableRecord(call.devmode.data(), call.devmode.size()))
                << where << ": a partial record stored as the printer's default";
        }

        // A job is either ended whole, as without the failure, or aborted with the user told.
        for (const sim::RawJob& job : spooler().jobs) {
            if (job.ended) {
                observed.endedJobs.push_back(job);
                if (!reference) continue;
                bool matches = false;
                for (const sim::RawJob& whole : reference->endedJobs)
                    matches |= whole.documentName == job.documentName && Content(whole) == Content(job);
                EXPECT_TRUE(matches) << where << ": job " << sim::Utf8(job.documentName)
                                     << " ended with content that differs from the whole job";
            } else {
                EXPECT_TRUE(job.aborted) << where << ": job " << sim::Utf8(job.documentName)
                                         << " neither ended nor aborted";
                EXPECT_TRUE(Told() || notes.told || !notes.silences.empty())
                    << where << ": job " << sim::Utf8(job.documentName) << " lost without the user being told";
            }
        }
        if (reference) {
            // A job the path makes that did not end whole (or was never begun) is told.
            for (const sim::RawJob& whole : reference->endedJobs) {
                bool delivered = false;
                for (const sim::RawJob& job : observed.endedJobs)
                    delivered |= job.documentName == whole.documentName && Content(job) == Content(whole);
                if (!delivered && !Told() && !notes.told && observed.failed)
                    ADD_FAILURE() << where << ": job " << sim::Utf8(whole.documentName)
                                  << " did not reach the printer and nobody was told";
            }
        }
        if (mended) mended(where);
        return observed;
    }

    // Runs `path` once per call of `callClass` it makes, each failing in turn, with the
    // walk's checks and `mended`.
    void EveryPoint(const Path& path, CallClass callClass, const Check& mended) {
        Fresh();
        if (path.prepare) path.prepare();
        RunNotes settle;
        path.run(settle);
        const Observed reference = RunOnce(path, CallClass::kCount, 0);
        const int count = reference.counts[static_cast<size_t>(callClass)];
        EXPECT_GT(count, 0) << path.name << " makes no " << sim::CallClassName(callClass) << " call";
        for (int n = 1; n <= count; ++n) RunOnce(path, callClass, n, &reference, mended);
    }

    std::vector<Path> Paths();
    const Path& PathNamed(const char* start) {
        static std::vector<Path> paths;
        paths = Paths();
        for (const Path& path : paths)
            if (std::strncmp(path.name, start, std::strlen(start)) == 0) return path;
        ADD_FAILURE() << "no path " << start;
        return paths.front();
    }

    Record stored;
    HANDLE handle = nullptr;
};

// The settings record a caller is handed is whole whenever the call reports success.
void CheckHandedOut(Record& out, bool success, const char* what, RunNotes& notes) {
    if (success && !qf::IsDriverRecord(out.data())) notes.partial.push_back(std::string(what) + " handed out a partial record");
}

// Every path of the walk: what a caller or a user does, from the exports to each dialog's
// main actions.
std::vector<FailureWalk::Path> FailureWalk::Paths() {
    using DocPropsFn = LONG(WINAPI*)(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW, DWORD);
    using ConvertFn = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);

    const auto offline = [this] {
        Private(stored).manualRibbon = 3;
        printer().devmode = stored;
    };
    const auto hologramRibbon = [this] {
        const std::wstring bitmap = MakeFile(L"walk.bmp", StripedBitmap());
        qf::PrivateSettings& settings = Private(stored);
        settings.ribbonType = 9;
        card().ribbonNumber = 21;
        settings.frontOverlay.overlayType = 4;
        std::memset(settings.frontOverlay.bitmapPath, 0, sizeof settings.frontOverlay.bitmapPath);
        std::memcpy(settings.frontOverlay.bitmapPath, bitmap.c_str(), bitmap.size() * sizeof(wchar_t));
        settings.hologramOverlay.enabled = 1;
        settings.hologramOverlay.copies = 1;
        settings.hologramOverlay.region = settings.frontOverlay;
        settings.hologramOverlay.region.overlayType = qf::kHologramBitmap;
        printer().devmode = stored;
    };

    return {
        {"DrvDocumentProperties", nullptr,
         [=](RunNotes& notes) {
             Record in = stored, out(qf::kRecordSize, 0);
             const LONG result = Export<DocPropsFn>("DrvDocumentProperties")(
                 nullptr, handle, const_cast<LPWSTR>(kTestPrinter), Devmode(out), Devmode(in), DM_OUT_BUFFER | DM_IN_BUFFER);
             CheckHandedOut(out, result == 1, "DrvDocumentProperties", notes);
         }},
        {"DrvConvertDevMode driver default", nullptr,
         [=](RunNotes& notes) {
             Record out(qf::kRecordSize, 0);
             LONG needed = qf::kRecordSize;
             const BOOL ok = Export<ConvertFn>("DrvConvertDevMode")(const_cast<LPWSTR>(kTestPrinter), nullptr,
                                                                    Devmode(out), &needed, CDM_DRIVER_DEFAULT);
             CheckHandedOut(out, ok != FALSE, "DrvConvertDevMode", notes);
         }},
        {"document sheet: INIT, changes, undo, SET_RESULT, DESTROY", nullptr,
         [=](RunNotes& notes) {
             Record in = stored, out(qf::kRecordSize, 0);
             DOCUMENTPROPERTYHEADER header = DocumentHeader(out, &in);
             sim::PropertySheetService service;
             if (OpenDocument(service, header, notes) != 1 || !service.Page()) return;
             service.Select(15, 2);
             service.Undo();
             service.Select(0, 1);
             const bool committed = service.Commit() == 1 && service.Info().Result == CPSUI_OK;
             CheckHandedOut(out, committed, "the document sheet", notes);
         }},
        {"document sheet on the printer's default, the ribbon changed",
         [=] { card().ribbonNumber = 5; },
         [=](RunNotes& notes) {
             Record out(qf::kRecordSize, 0);
             DOCUMENTPROPERTYHEADER header = DocumentHeader(out, nullptr);
             sim::PropertySheetService service;
             if (OpenDocument(service, header, notes) != 1) return;
             service.Cancel();
         }},
        {"device sheet: INIT, Apply, DESTROY", nullptr,
         [=](RunNotes& notes) {
             DEVICEPROPERTYHEADER header = DeviceHeader();
             sim::PropertySheetService service;
             if (OpenDevice(service, header, notes) != 1) return;
             service.Apply();
             service.Cancel();
         }},
        {"About box from the device sheet", nullptr,
         [=](RunNotes& notes) {
             DEVICEPROPERTYHEADER header = DeviceHeader();
             sim::PropertySheetService service;
             if (OpenDevice(service, header, notes) != 1 || !service.Page()) return;
             sim::DialogScript script(
                 [](HWND dialog) {
                     RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                     sim::ClickButton(dialog, IDOK);
                 },
                 3000);
             service.About();
             service.Cancel();
         }},
        {"Tools: a typed command and a track read", nullptr,
         [=](RunNotes& notes) {
             DeviceButton(qf::kDeviceItemTools,
                          {[](HWND dialog) {
                              sim::SetControlText(dialog, IDC_TOOLS_COMMAND, L"V");
                              sim::ClickButton(dialog, IDC_TOOLS_EXECUTE);
                              sim::ClickButton(dialog, IDC_TOOLS_TRACK1_BOX);
                              sim::ClickButton(dialog, IDC_TOOLS_READ);
                              sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
                          }},
                          notes);
         }},
        {"Tools offline: a command job", offline,
         [=](RunNotes& notes) {
             DeviceButton(qf::kDeviceItemTools,
                          {[](HWND dialog) {
                              sim::SetControlText(dialog, IDC_TOOLS_COMMAND, L"CLEAN");
                              sim::ClickButton(dialog, IDC_TOOLS_EXECUTE);
                              sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
                          }},
                          notes);
         }},
        {"Send File",
         [=] { sim::Ui().fileChoices = {MakeFile(L"card.prn", "\x1B" "PRINT\r")}; },
         [=](RunNotes& notes) {
             sim::Ui().fileChoices = {spooler().DriverFile(L"card.prn")};
             DeviceButton(qf::kDeviceItemTools,
                          {[](HWND tools) {
                               sim::ClickButton(tools, IDC_TOOLS_SEND_FILE);
                               sim::ClickButton(tools, IDC_CLOSE_BUTTON);
                           },
                           [&](HWND dialog) {
                               sim::ClickButton(dialog, IDC_SEND_SELECT);
                               if (!sim::ClickButton(dialog, IDC_SEND_BUTTON)) {
                                   notes.told = true;  // nothing to send was offered
                               } else {
                                   const std::string status = Text(dialog, IDC_SEND_STATUS);
                                   notes.told = status == "Error sending file.";
                                   if (status != "File sent successfully." && status != "Error sending file.")
                                       notes.silences.push_back("Send File left the status \"" + status + "\"");
                                   if (!IsEnabled(dialog, IDC_SEND_BUTTON))
                                       notes.silences.push_back("Send File left its button disabled");
                               }
                               sim::ClickButton(dialog, IDCANCEL);
                           }},
                          notes);
         }},
        {"firmware download, online",
         [=] { MakeFile(L"q862.bin", PrinterFirmware(300)); },
         [=](RunNotes& notes) {
             sim::Ui().fileChoices = {spooler().DriverFile(L"q862.bin")};
             DeviceButton(qf::kDeviceItemFirmware, {[&](HWND dialog) {
                              sim::ClickButton(dialog, IDC_FW_SELECT);
                              if (!sim::ClickButton(dialog, IDC_FW_START)) {
                                  notes.told = true;  // no file was accepted: nothing to start
                              } else {
                                  const std::string status = Text(dialog, IDC_FW_STATUS);
                                  notes.told = status == "Error in downloading firmware";
                                  if (status != "Firmware DownLoaded Successfully..." &&
                                      status != "Error in downloading firmware")
                                      notes.silences.push_back("the firmware download left the status \"" + status + "\"");
                                  if (!IsEnabled(dialog, IDC_FW_START))
                                      notes.silences.push_back("the firmware download left its button disabled");
                              }
                              sim::ClickButton(dialog, IDCANCEL);
                          }},
                          notes);
         }},
        {"firmware download, offline job",
         [=] {
             offline();
             MakeFile(L"q862.bin", PrinterFirmware(20000));
         },
         [=](RunNotes& notes) {
             sim::Ui().fileChoices = {spooler().DriverFile(L"q862.bin")};
             DeviceButton(qf::kDeviceItemFirmware, {[&](HWND dialog) {
                              sim::ClickButton(dialog, IDC_FW_SELECT);
                              if (!sim::ClickButton(dialog, IDC_FW_START)) {
                                  notes.told = true;  // no file was accepted: nothing to start
                              } else {
                                  const std::string status = Text(dialog, IDC_FW_STATUS);
                                  notes.told = status == "Error in downloading firmware";
                                  const bool ended = !spooler().jobs.empty() && spooler().jobs.back().ended;
                                  if (status != (ended ? "Firmware DownLoaded Successfully..." : "Error in downloading firmware"))
                                      notes.silences.push_back("the offline firmware download shows \"" + status +
                                                               (ended ? "\" after a whole job" : "\" after a failed job"));
                                  if (!IsEnabled(dialog, IDC_FW_START))
                                      notes.silences.push_back("the firmware download left its button disabled");
                              }
                              sim::ClickButton(dialog, IDCANCEL);
                          }},
                          notes);
         }},
        {"device information", nullptr,
         [=](RunNotes& notes) {
             DeviceButton(qf::kDeviceItemDeviceInfo, {[](HWND dialog) { sim::ClickButton(dialog, IDC_CLOSE_BUTTON); }},
                          notes);
         }},
        {"encoder settings: Restore Defaults and Apply", nullptr,
         [=](RunNotes& notes) {
             DeviceButton(kEncoderItem, {[](HWND dialog) {
                              sim::ClickButton(dialog, IDC_RESTORE_DEFAULTS);
                              sim::ClickButton(dialog, kEncoderApply);
                              sim::ClickButton(dialog, kEncoderCancel);
                          }},
                          notes);
         }},
        {"advanced track settings: Restore Defaults and Apply", nullptr,
         [=](RunNotes& notes) {
             DeviceButton(kEncoderItem,
                          {[](HWND dialog) {
                               sim::ClickButton(dialog, kEncoderAdvanced);
                               sim::ClickButton(dialog, kEncoderCancel);
                           },
                           [](HWND dialog) {
                               sim::ClickButton(dialog, IDC_RESTORE_DEFAULTS);
                               sim::ClickButton(dialog, kTracksApply);
                               if (IsWindowVisible(dialog)) sim::ClickButton(dialog, IDCANCEL);
                           }},
                          notes);
         }},
        {"single feed: Apply", nullptr,
         [=](RunNotes& notes) {
             DeviceButton(kSingleFeedItem, {[](HWND dialog) {
                              sim::ClickButton(dialog, kFeedOff);
                              sim::ClickButton(dialog, IDOK);
                          }},
                          notes);
         }},
        {"head settings", nullptr,
         [=](RunNotes& notes) {
             DocumentButton(kHeadItem, {[](HWND dialog) {
                                sim::DragSlider(dialog, IDC_HEAD_OVERLAY, 7);
                                sim::ClickButton(dialog, IDC_RESTORE_DEFAULTS);
                                sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
                            }},
                            notes);
         }},
        {"colour correction with its sample", nullptr,
         [=](RunNotes& notes) {
             DocumentButton(kColorItem, {[](HWND dialog) {
                                RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                                sim::ClickButton(dialog, IDC_RESTORE_DEFAULTS);
                                sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
                            }},
                            notes);
         }},
        {"front overlay editor: bitmap and area previews, Browse", hologramRibbon,
         [=](RunNotes& notes) {
             sim::Ui().fileChoices = {spooler().DriverFile(L"walk.bmp")};
             DocumentButton(kFrontOverlayItem, {[](HWND dialog) {
                                for (int type : {4, 3}) {
                                    SendDlgItemMessageW(dialog, IDC_OVERLAY_TYPE, CB_SETCURSEL, type, 0);
                                    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_OVERLAY_TYPE, CBN_SELCHANGE),
                                                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_OVERLAY_TYPE)));
                                    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                                }
                                sim::ClickButton(dialog, IDC_OVERLAY_BROWSE);
                                sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
                            }},
                            notes);
         }},
        {"hologram dialog: region editor and the bitmap job", hologramRibbon,
         [=](RunNotes& notes) {
             DocumentButton(kHologramItem,
                            {[](HWND dialog) {
                                 RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                                 sim::ClickButton(dialog, IDC_HOLOGRAM_REGION_BUTTON);
                                 sim::ClickButton(dialog, IDC_HOLOGRAM_PRINT);
                                 sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
                             },
                             [](HWND region) {
                                 RedrawWindow(region, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                                 sim::ClickButton(region, IDC_CLOSE_BUTTON);
                             }},
                            notes);
         }},
        {"hologram dialog: the area job",
         [=] {
             hologramRibbon();
             Private(stored).hologramOverlay.region.overlayType = qf::kHologramArea;
             printer().devmode = stored;
         },
         [=](RunNotes& notes) {
             DocumentButton(kHologramItem, {[](HWND dialog) {
                                sim::ClickButton(dialog, IDC_HOLOGRAM_PRINT);
                                sim::ClickButton(dialog, IDC_CLOSE_BUTTON);
                            }},
                            notes);
         }},
    };
}

TEST_F(FailureWalk, EveryPathHoldsAtEveryFailingCall) {
    const char* only = std::getenv("QF_FAILURE_WALK_PATH");
    for (const Path& path : Paths()) {
        if (only && !std::strstr(path.name, only)) continue;
        Walk(path);
    }
}

// The mends, each at the failure points that showed its fault: every call of the class
// that reaches it fails in turn, with the walk's checks and the mend's own.
TEST_F(FailureWalk, EachMendHoldsAtItsFailurePoints) {
    struct Mend {
        const char* what;
        const char* path;  // the start of the path's name
        CallClass callClass;
        Check holds;
    };
    const Check toldNotReached = [this](const std::string& where) {
        for (const sim::RawJob& job : spooler().jobs) {
            if (job.ended) continue;
            EXPECT_TRUE(ToldText(L"The command did not reach the printer.")) << where;
        }
    };
    const Check noDirectPrinting = [this](const std::string& where) {
        EXPECT_EQ(printer().attributes & PRINTER_ATTRIBUTE_DIRECT, 0u) << where;
    };
    const Check onlyOwnHandle = [this](const std::string& where) {
        EXPECT_EQ(spooler().OpenHandleCount(), 1) << where << ": only the test's own printer handle is open";
    };
    const Check printerKeepsItsState = [this](const std::string& where) {
        for (const sim::SetPrinterCall& call : spooler().setPrinterLog) {
            Record written = call.devmode;
            if (written.size() < qf::kRecordSize) continue;
            // The printer has an encoder: what is written is its answer, or, when the
            // question got no answer, the stored value kept as it was.
            const uint16_t encoder = Private(written).encoderSettings.encoderPresent;
            EXPECT_TRUE(encoder == 1 || encoder == Private(stored).encoderSettings.encoderPresent)
                << where << ": a failed query became no encoder";
            EXPECT_NE(Private(written).ribbonType, qf::kRibbonNone) << where << ": a failed query became no ribbon";
        }
    };
    // A button whose open-file dialog cannot be shown says so.
    const Check choosingTold = [this](const std::string& where) {
        if (sim::FailedCalls() == 0 || !sim::Ui().openFileDialogs.empty()) return;
        EXPECT_TRUE(Told()) << where << ": no open-file dialog and no message";
    };
    // A dialog that cannot fill itself (memory running short) says so: an allocation that
    // failed on the way is never silent.
    const Check fillingTold = [this](const std::string& where) {
        if (sim::FailedCalls() == 0) return;
        EXPECT_TRUE(Told()) << where << ": an allocation failed and nothing was said";
    };
    const std::vector<Mend> mends = {
        {"an encoder job whose write fails is aborted and told", "encoder settings", CallClass::kWrite, toldNotReached},
        {"an encoder job whose write falls short is aborted and told", "encoder settings", CallClass::kShortWrite,
         toldNotReached},
        {"a track job whose write falls short is aborted and told", "advanced track", CallClass::kShortWrite,
         toldNotReached},
        {"a single-feed job whose write fails is aborted and told", "single feed", CallClass::kWrite, toldNotReached},
        {"a hologram area job that loses its first command is aborted and told", "hologram dialog: the area",
         CallClass::kShortWrite, toldNotReached},
        {"a hologram bitmap job that loses bytes is aborted and told", "hologram dialog: region", CallClass::kWrite,
         toldNotReached},
        {"an offline Tools job whose write fails is aborted and told", "Tools offline", CallClass::kWrite,
         toldNotReached},
        {"the spooler refusing a job or its printer is told", "single feed", CallClass::kSpooler, toldNotReached},
        {"a Tools exchange that fails part-way leaves no direct printing", "Tools: a typed", CallClass::kAllocation,
         noDirectPrinting},
        {"a refused switch back from direct printing is tried again", "Tools: a typed", CallClass::kSpooler,
         noDirectPrinting},
        {"a document sheet that fails to open keeps no printer handle", "document sheet: INIT", CallClass::kAllocation,
         onlyOwnHandle},
        {"a device sheet that fails to open keeps no printer handle", "device sheet", CallClass::kAllocation,
         onlyOwnHandle},
        {"the About paint ends and releases on every path", "About box", CallClass::kGdi, onlyOwnHandle},
        {"the About paint survives a failed allocation", "About box", CallClass::kAllocation, onlyOwnHandle},
        {"the colour sample's bitmap is deleted whatever the selection did", "colour correction", CallClass::kGdi,
         onlyOwnHandle},
        {"Send File resets its status when it fails part-way", "Send File", CallClass::kAllocation, nullptr},
        {"Send File's Select File without memory for its filter is told", "Send File", CallClass::kAllocation,
         choosingTold},
        {"an overlay editor's Browse without memory for its filter is told", "front overlay editor",
         CallClass::kAllocation, choosingTold},
        {"Tools that cannot fill its lists and offsets is told", "Tools: a typed", CallClass::kAllocation,
         fillingTold},
        {"device information that cannot fill its fields is told", "device information", CallClass::kAllocation,
         fillingTold},
        {"a region editor that cannot fill its type list is told", "front overlay editor", CallClass::kAllocation,
         fillingTold},
        {"the firmware download resets its status when it fails part-way", "firmware download, online",
         CallClass::kAllocation, nullptr},
        {"the firmware file check keeps no file open", "firmware download, online", CallClass::kShortRead, nullptr},
        {"a failed end of the offline firmware job is a failed download", "firmware download, offline",
         CallClass::kSpooler, nullptr},
        {"a failed ribbon or encoder query is no answer", "document sheet on the printer's default",
         CallClass::kSpooler, printerKeepsItsState},
    };
    for (const Mend& mend : mends) {
        SCOPED_TRACE(mend.what);
        EveryPoint(PathNamed(mend.path), mend.callClass, mend.holds);
    }
}

}  // namespace
