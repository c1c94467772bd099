// DrvDeviceCapabilities through the DLL: results, what is written, and what is not.
#include "tests/wine/wine_test.h"

#include <cstring>

#include "tests/wine/records.h"

namespace {

using CapsFn = DWORD(WINAPI*)(HANDLE, PWSTR, DWORD, PVOID, PDEVMODEW);

class Capabilities : public DriverTest {
protected:
    DWORD Ask(DWORD capability, void* output, DEVMODEW* devmode = nullptr) {
        return Export<CapsFn>("DrvDeviceCapabilities")(nullptr, const_cast<PWSTR>(kTestPrinter), capability,
                                                        output, devmode);
    }
    static DEVMODEW Oriented(short orientation) {
        DEVMODEW dm = {};
        dm.dmSize = sizeof dm;
        dm.dmOrientation = orientation;
        return dm;
    }
};

struct Expected {
    DWORD capability;
    DWORD result;
    size_t bytesWritten;
};

TEST_F(Capabilities, ResultsAndBytesWritten) {
    const Expected rows[] = {
        {1, 0x07805F03, 0}, {2, 1, 2}, {3, 1, 8}, {4, 0, 8}, {5, 0, 0}, {6, 1, 2}, {7, 1, 0},
        {8, 212, 0}, {9, 3856, 0}, {10, 0x0401, 0}, {11, 1, 0}, {12, 1, 48}, {13, 1, 8},
        {14, 0, 0}, {15, 1, 0}, {16, 1, 64}, {17, 90, 0}, {18, 999, 0}, {19, 0, 0},
        {20, DWORD(-1), 0}, {24, DWORD(-1), 0}, {28, DWORD(-1), 0}, {29, 1, 64}, {30, 0, 0},
        {31, DWORD(-1), 0}, {32, 1, 0}, {0, DWORD(-1), 0}, {33, DWORD(-1), 0}, {1000, DWORD(-1), 0},
    };
    for (const Expected& row : rows) {
        BYTE buffer[256];
        std::memset(buffer, 0xCC, sizeof buffer);
        EXPECT_EQ(Ask(row.capability, buffer), row.result) << "capability " << row.capability;
        size_t written = sizeof buffer;
        while (written > 0 && buffer[written - 1] == 0xCC) --written;
        EXPECT_LE(written, row.bytesWritten) << "capability " << row.capability << " wrote past its answer";
        // Same result without an output buffer, and nothing to write to.
        EXPECT_EQ(Ask(row.capability, nullptr), row.result) << "capability " << row.capability;
        // Only the low 16 bits count.
        EXPECT_EQ(Ask(row.capability | 0xABCD0000u, nullptr), row.result) << "capability " << row.capability;
    }
}

TEST_F(Capabilities, PaperSizeFollowsOrientation) {
    LONG pt[2] = {};
    EXPECT_EQ(Ask(DC_PAPERSIZE, pt), 1u);
    EXPECT_EQ(pt[0], 541);
    EXPECT_EQ(pt[1], 866);
    DEVMODEW landscape = Oriented(DMORIENT_LANDSCAPE);
    EXPECT_EQ(Ask(DC_PAPERSIZE, pt, &landscape), 1u);
    EXPECT_EQ(pt[0], 866);
    EXPECT_EQ(pt[1], 541);
    DEVMODEW portrait = Oriented(DMORIENT_PORTRAIT);
    EXPECT_EQ(Ask(0x10000u | DC_PAPERSIZE, pt, &portrait), 1u);
    EXPECT_EQ(pt[0], 541);
    EXPECT_EQ(pt[1], 866);
}

// A DEVMODE too short to hold an orientation counts as given, with no orientation; the
// guard page after its 72 bytes would stop the test on a read of dmOrientation (76).
TEST_F(Capabilities, AShortDevmodeIsNotReadPastItsSize) {
    GuardedBlock shortDevmode(72);
    std::memset(shortDevmode.data(), 0, 72);
    shortDevmode.devmode()->dmSize = 68;
    LONG pt[2] = {};
    EXPECT_EQ(Ask(DC_PAPERSIZE, pt, shortDevmode.devmode()), 1u);
    EXPECT_EQ(pt[0], 541);
    EXPECT_EQ(pt[1], 866);
    EXPECT_EQ(Ask(DC_MAXEXTENT, pt, shortDevmode.devmode()), 0u);
    EXPECT_EQ(pt[0], 866);
    EXPECT_EQ(pt[1], 541);
}

TEST_F(Capabilities, ExtentsWriteOnlyWhatTheyShould) {
    LONG pt[2] = {-7, -7};
    EXPECT_EQ(Ask(DC_MAXEXTENT, pt), 0u);
    EXPECT_EQ(pt[0], -7) << "no DEVMODE: nothing written";
    EXPECT_EQ(pt[1], -7);
    DEVMODEW portrait = Oriented(DMORIENT_PORTRAIT);
    EXPECT_EQ(Ask(DC_MAXEXTENT, pt, &portrait), 0u);
    EXPECT_EQ(pt[0], 541);
    EXPECT_EQ(pt[1], 866);
    DEVMODEW landscape = Oriented(DMORIENT_LANDSCAPE);
    EXPECT_EQ(Ask(DC_MAXEXTENT, pt, &landscape), 0u);
    EXPECT_EQ(pt[0], 866);
    EXPECT_EQ(pt[1], 541);
    EXPECT_EQ(Ask(DC_MINEXTENT, pt), 0u);
    EXPECT_EQ(pt[0], 1);
    EXPECT_EQ(pt[1], 1);
}

TEST_F(Capabilities, TextsComeFromTheStringTable) {
    WCHAR names[64];
    EXPECT_EQ(Ask(DC_PAPERNAMES, names), 1u);
    EXPECT_STREQ(names, L"86mmx54mm Card");
    EXPECT_EQ(Ask(DC_MEDIAREADY, names), 1u);
    EXPECT_STREQ(names, L"86mmx54mm Card");
    EXPECT_EQ(Ask(DC_BINNAMES, names), 1u);
    EXPECT_STREQ(names, L"Card Feeder");
    WORD id = 0;
    EXPECT_EQ(Ask(DC_PAPERS, &id), 1u);
    EXPECT_EQ(id, 258);
    EXPECT_EQ(Ask(DC_BINS, &id), 1u);
    EXPECT_EQ(id, 256);
    LONG res[2] = {};
    EXPECT_EQ(Ask(DC_ENUMRESOLUTIONS, res), 1u);
    EXPECT_EQ(res[0], 300);
    EXPECT_EQ(res[1], 300);
}

}  // namespace
