// The host's own explanation of a failed command, from the register traffic it carried.
#include <gtest/gtest.h>

#include <deque>

#include "FailureDiagnosis.h"

namespace rtd::host {
namespace {

// Answers each status read with the next scripted byte.
class StatusScript : public TIicInterface {
public:
    bool IicWrite(uint8_t, int, const uint8_t*) override { return !refuseWrites; }
    bool IicRead(uint8_t, int, uint8_t* data) override {
        *data = answers.empty() ? 0x00 : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return true;
    }
    std::deque<uint8_t> answers;
    bool refuseWrites = false; // every write is not acknowledged
};

// The plug-in's transfers, by what they do.
struct Step {
    enum Kind { Entry, Select1, Erase, Page, Poll } kind;
    uint8_t status = 0; // answered to the read that follows, if any
};

void Play(FailureDiagnosis& bus, StatusScript& script, const std::vector<Step>& steps) {
    auto write = [&](std::vector<uint8_t> bytes) {
        bus.IicWrite(0x94, static_cast<int>(bytes.size()), bytes.data());
    };
    auto read = [&](uint8_t status) {
        script.answers.push_back(status);
        write({0x90});
        uint8_t value = 0xFF;
        bus.IicRead(0x95, 1, &value);
    };
    for (const Step& s : steps) {
        switch (s.kind) {
        case Step::Entry:
            write({0x90, 0x40});
            write({0x36, 0x00});
            read(s.status);
            break;
        case Step::Select1:
            write({0x90, 0x60});
            break;
        case Step::Erase:
            write({0x90, 0xC0});
            break;
        case Step::Page: {
            std::vector<uint8_t> page(257, 0x00);
            page[0] = 0x94;
            write(page);
            break;
        }
        case Step::Poll:
            read(s.status);
            break;
        }
    }
}

TEST(FailureDiagnosis, ExplainsTheLastLineFromTheStatusReads) {
    using S = Step;
    const std::string none = "diagnosis: the adapter reported no failed bus transfer";
    const struct {
        const char* name;
        std::vector<Step> steps;
        std::string lastLine;
        int failed;
        std::vector<std::string> lines;
    } cases[] = {
        {"entry never reads 40",
         {{S::Entry, 0x00}, {S::Entry, 0x00}, {S::Entry, 0x20}},
         "Enter isp error!",
         0,
         {"diagnosis: the chip did not enter ISP mode; the status after each entry attempt "
          "read 00 00 20 (ISP mode reads 40)",
          none}},
        {"a second entry reports only its own attempts",
         {{S::Entry, 0x40},
          {S::Erase},
          {S::Poll, 0x00},
          {S::Entry, 0xFF},
          {S::Entry, 0xFF},
          {S::Entry, 0xFF}},
         "Enter Isp fail.",
         2,
         {"diagnosis: the chip did not enter ISP mode; the status after each entry attempt "
          "read FF FF FF (ISP mode reads 40; FF is what a bus with nobody answering reads)"}},
        {"CRC after reads that look stuck",
         {{S::Entry, 0x40}, {S::Erase}, {S::Poll, 0xFF}, {S::Select1}, {S::Poll, 0xFF}},
         "Crc Error!",
         0,
         {"diagnosis: the chip's CRC-8 of bank 1 does not match what was written; all 2 status "
          "reads answered FF: the reads look stuck, which points to the bus (wiring, pull-ups, "
          "power), not to the flash",
          none}},
        {"CRC after failed transfers",
         {{S::Entry, 0x40}, {S::Poll, 0x00}},
         "Crc Error!",
         3,
         {"diagnosis: the chip's CRC-8 of bank 0 does not match what was written; the adapter "
          "failed 3 transfers: what they carried never reached the chip"}},
        {"CRC on a healthy bus",
         {{S::Entry, 0x40}, {S::Poll, 0xFF}, {S::Poll, 0x00}},
         "Crc Error!",
         0,
         {"diagnosis: the chip's CRC-8 of bank 0 does not match what was written; the bus "
          "carried every transfer and the status reads did not look stuck: the flash holds "
          "other bytes than were sent",
          none}},
        {"another line", {{S::Entry, 0x40}}, "Erase fail!", 0, {none}},
    };
    for (const auto& c : cases) {
        StatusScript script;
        FailureDiagnosis bus(&script);
        Play(bus, script, c.steps);
        EXPECT_EQ(bus.Explain(c.lastLine, c.failed), c.lines) << c.name;
    }
}

TEST(FailureDiagnosis, TellsWhatTheChipHoldsFromTheWritesItAcknowledged) {
    using S = Step;
    const struct {
        std::vector<Step> steps;
        bool refused;
        std::string holds;
    } cases[] = {
        {{{S::Entry, 0x40}, {S::Poll, 0x00}}, false, "the chip is untouched"},
        {{{S::Entry, 0x40}, {S::Erase}, {S::Poll, 0x80}}, false, "the chip is erased"},
        {{{S::Entry, 0x40}, {S::Erase}, {S::Page}}, true, "the chip is untouched"},
        {{{S::Entry, 0x40}, {S::Erase}, {S::Page}, {S::Poll, 0x10}},
         false,
         "the chip is erased and partly written: run write again"},
    };
    for (const auto& c : cases) {
        StatusScript script;
        script.refuseWrites = c.refused;
        FailureDiagnosis bus(&script);
        Play(bus, script, c.steps);
        EXPECT_EQ(bus.ChipHolds(), c.holds) << c.steps.size() << " steps";
    }
}

} // namespace
} // namespace rtd::host
