#include "Verify.h"

#include "ImageTools.h"
#include "Ispunit.h"
#include "Platform.h"

namespace rtd::host {

namespace {

// The wait after ISP entry that every command of the engine makes before its next step.
constexpr unsigned kAfterEntryMs = 50;

std::string BankLine(const BankReport& b) {
    const std::string name =
        "Bank " + std::to_string(b.bank) + (b.wholeBank ? " (whole bank): " : ": ");
    if (!b.chipAnswered)
        return name + "no CRC-8 from the chip";
    if (b.Matches())
        return name + "match, CRC-8 " + HexCrc(b.crc);
    return name + "mismatch, CRC-8 " + HexCrc(b.crc) + " in the file, " + HexCrc(b.chipCrc) +
           " on the chip";
}

} // namespace

bool PlanBanks(const image::FirmwarePlan& plan, BankRange range, CommandReport* report) {
    if (!plan.Ready()) {
        report->error = RefusalReason(plan);
        return false;
    }
    std::vector<image::BankProgram> banks = plan.Banks();
    if (range == BankRange::Whole)
        banks = {image::MeasureBank(0, plan.Bank(0)), image::MeasureBank(1, plan.Bank(1))};
    for (const image::BankProgram& bank : banks) {
        const BankSummary s = SummarizeBank(bank);
        BankReport b;
        b.bank = bank.bank;
        b.bytesWritten = s.writtenLength;
        b.pagesSent = s.pagesSent;
        b.crc = s.crc;
        b.crcEnd = bank.crcEnd;
        if (range == BankRange::Whole) {
            b.wholeBank = true;
            b.crc = TIspPort::Crc8(bank.window, image::kBankSize);
            b.crcEnd = static_cast<uint16_t>(image::kBankSize - 1);
        }
        report->banks.push_back(b);
    }
    return true;
}

bool ReadBankCrcs(TIicInterface* bus, CommandReport* report, RunOutput* output,
                  bool failsOnMismatch) {
    const CommandScope scope;
    TIspPort port;
    port.SetIicInterface(bus);
    if (!port.EnterIsp()) {
        output->Note("The chip did not enter ISP mode.");
        return false;
    }
    CurrentPlatform().SleepMs(kAfterEntryMs);
    for (BankReport& b : report->banks) {
        // Anything but the file's CRC: a result read that fails leaves this value.
        uint8_t chip = static_cast<uint8_t>(~b.crc);
        b.checked = true;
        b.chipAnswered = port.ReadChipCrc(b.bank, 0, b.crcEnd, chip);
        b.chipCrc = chip;
        output->Note(BankLine(b), failsOnMismatch && !b.Matches());
    }
    port.ExitIsp();
    return true;
}

bool AllBanksMatch(const CommandReport& report) {
    for (const BankReport& b : report.banks)
        if (!b.Matches())
            return false;
    return !report.banks.empty();
}

bool FlashAlreadyHolds(const image::FirmwarePlan& plan, TIicInterface* bus, RunOutput* output) {
    CommandReport whole;
    return PlanBanks(plan, BankRange::Whole, &whole) && ReadBankCrcs(bus, &whole, output) &&
           AllBanksMatch(whole);
}

int VerifyFile(const image::FirmwarePlan& plan, TIicInterface* bus, CommandReport* report,
               RunOutput* output) {
    if (!PlanBanks(plan, BankRange::Written, report)) {
        output->Note("Refused: " + report->error);
        return 1;
    }
    if (!ReadBankCrcs(bus, report, output, true)) {
        report->error = "the chip did not enter ISP mode";
        return 1;
    }
    return AllBanksMatch(*report) ? 0 : 1;
}

} // namespace rtd::host
