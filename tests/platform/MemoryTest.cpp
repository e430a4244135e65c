#include "QtPrinters.h"
#include "platform/LinuxMemory.h"

#include <gtest/gtest.h>

using namespace tolm::platform;

TEST(Meminfo, FiguresBeyondFourGigabytes)
{
    const QByteArray text = "MemTotal:       32823844 kB\n"
                            "MemFree:         1200000 kB\n"
                            "MemAvailable:   24617883 kB\n"
                            "Buffers:          100000 kB\n"
                            "Cached:          9000000 kB\n"
                            "SwapCached:            0 kB\n"
                            "SwapTotal:       8388604 kB\n"
                            "SwapFree:        4194302 kB\n"
                            "HugePages_Total:       0\n";
    const std::optional<MemoryStatus> s = MemoryStatus::fromMeminfo(text);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->totalPhys, 32823844ull * 1024);
    EXPECT_EQ(s->availPhys, 24617883ull * 1024);
    EXPECT_EQ(s->totalPageFile, (32823844ull + 8388604ull) * 1024);
    EXPECT_EQ(s->availPageFile, (24617883ull + 4194302ull) * 1024);
    // used = 8205961 kB of 32823844 kB: exactly 25 %; one kB more available
    // gives 24.99.. %, cut to 24.
    EXPECT_EQ(s->load, 25u);
    EXPECT_EQ(MemoryStatus::fromMeminfo(QByteArray(text).replace("24617883", "24617884"))->load, 24u);
}

TEST(Meminfo, OldKernelWithoutMemAvailableAndNoSwap)
{
    const std::optional<MemoryStatus> s = MemoryStatus::fromMeminfo("MemTotal: 1000 kB\nMemFree: 100 kB\n"
                                                                    "Buffers: 50 kB\nCached: 250 kB\n");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->availPhys, 400u * 1024);
    EXPECT_EQ(s->totalPageFile, s->totalPhys);
    EXPECT_EQ(s->availPageFile, s->availPhys);
    EXPECT_EQ(s->load, 60u);
}

TEST(Meminfo, DefensiveParsing)
{
    EXPECT_FALSE(MemoryStatus::fromMeminfo(""));
    EXPECT_FALSE(MemoryStatus::fromMeminfo("garbage\n:::\n"));
    EXPECT_FALSE(MemoryStatus::fromMeminfo("MemTotal: 0 kB\n"));
    EXPECT_FALSE(MemoryStatus::fromMeminfo("MemTotal: 99999999999999999999999 kB\n"));
    // An available figure above the total is taken as the total: load 0.
    const std::optional<MemoryStatus> s = MemoryStatus::fromMeminfo("MemTotal: 100 kB\nMemAvailable: 500 kB\n"
                                                                    "SwapTotal: 10 kB\nSwapFree: 20 kB\n");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->availPhys, s->totalPhys);
    EXPECT_EQ(s->availPageFile, s->totalPageFile);
    EXPECT_EQ(s->load, 0u);
}

TEST(Meminfo, ThisMachine)
{
    LinuxMemory memory;
    const std::optional<MemoryStatus> s = memory.status();
    ASSERT_TRUE(s);
    EXPECT_GT(s->totalPhys, 0u);
    EXPECT_LE(s->availPhys, s->totalPhys);
    EXPECT_GE(s->totalPageFile, s->totalPhys);
    EXPECT_LE(s->load, 100u);
}
