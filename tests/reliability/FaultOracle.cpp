#include "FaultOracle.h"

#include "Ispunit.h"

namespace rtd::test {

namespace {

// The step whose awaited status a busy fault holds back.
StepKind StalledStep(Fault fault) {
    switch (fault) {
    case Fault::NoIsp:
        return StepKind::Entry;
    case Fault::EraseBusy:
        return StepKind::Erase;
    case Fault::PageBusy:
        return StepKind::Page;
    case Fault::CrcRangeBusy:
        return StepKind::CrcRange;
    case Fault::CrcBusy:
        return StepKind::CrcEngine;
    default:
        return StepKind::Line;
    }
}

} // namespace

uint8_t FaultOracle::FlashCrc(int bank, int start, int end) const {
    const std::vector<uint8_t>& flash = chip_.flash[static_cast<size_t>(bank)];
    if (end < start)
        return 0x00;
    return TIspUnit::Crc8(flash.data() + start, end - start + 1);
}

uint8_t FaultOracle::Frozen() const {
    switch (chip_.named) {
    case 0x90:
        return chip_.inIsp ? (chip_.bank == 1 ? 0x60 : 0x40) : 0x00;
    case 0xA3:
        return chip_.crc;
    default:
        return 0x00; // the CRC engine idle, or a register with nothing to read
    }
}

void FaultOracle::ApplyWrite(const Transfer& t, int index, const Step& step) {
    if (fault_ == Fault::DropWrites && !Before(index))
        return;
    const std::vector<uint8_t>& b = t.bytes;
    if (t.address == 0x96) {
        const int value = b[1] << 8 | b[2];
        (b[0] == 0x92 ? chip_.start : chip_.end) = value;
        return;
    }
    if (b.size() == 1) {
        chip_.named = b[0];
    } else if (b[0] == 0x90 && !chip_.inIsp) {
        chip_.control = b[1];
    } else if (b[0] == 0x90) {
        if (b[1] == 0x40 || b[1] == 0x60) {
            chip_.bank = b[1] == 0x60 ? 1 : 0;
        } else if (b[1] == 0x00) {
            chip_.inIsp = false;
            chip_.control = 0x00;
        }
    } else if (b[0] == 0x36) {
        const bool refused = fault_ == Fault::NoIsp && !Before(index);
        if (chip_.control == 0x40 && !refused) {
            chip_.inIsp = true;
            chip_.bank = 0;
        }
    } else if (b[0] == 0xA2 && chip_.inIsp) {
        chip_.crc = FlashCrc(chip_.bank, chip_.start, chip_.end);
    } else if (b[0] == 0x94 && chip_.inIsp) {
        std::vector<uint8_t>& flash = chip_.flash[static_cast<size_t>(chip_.bank)];
        const int base = step.page * 256;
        for (int i = 0; i < 256; ++i) {
            const bool stuck = fault_ == Fault::StuckBit && !Before(index) &&
                               base + i == kStuckAddress[chip_.bank];
            if (!stuck)
                flash[static_cast<size_t>(base + i)] &= b[static_cast<size_t>(1 + i)];
        }
    }
}

void FaultOracle::Apply(const Step& step) {
    int index = step.first;
    for (const Transfer& t : step.wire) {
        if (!t.read)
            ApplyWrite(t, index, step);
        ++index;
    }
}

bool FaultOracle::Passes(const Step& step) const {
    const bool startedBefore = Before(step.trigger);
    switch (fault_) {
    case Fault::NoIsp:
    case Fault::EraseBusy:
    case Fault::PageBusy:
    case Fault::CrcRangeBusy:
    case Fault::CrcBusy:
        return step.kind != StalledStep(fault_) || startedBefore;
    case Fault::ReadFail:
        return Before(step.read); // a failed read is never the awaited status
    case Fault::DropWrites:
        break;
    case Fault::StuckBit:
        return true;
    }
    if (Before(step.read))
        return true;
    const uint8_t v = Frozen();
    switch (step.kind) {
    case StepKind::Entry:
        return v == 0x40;
    case StepKind::Erase:
    case StepKind::CrcEngine:
        return (v & 0x80) == 0;
    case StepKind::Page:
        return (v & 0x10) == 0;
    case StepKind::CrcRange:
        return (v & 0x08) == 0;
    default:
        return true;
    }
}

Outcome FaultOracle::Run(const WireScript& script) {
    Outcome out;
    bool writeFailed = false;
    const auto fail = [&out](const Step& step) {
        if (!step.line.empty())
            out.lines.push_back(step.line);
        out.ok = false;
        return out;
    };
    for (const Step& step : script.Steps()) {
        switch (step.kind) {
        case StepKind::Line:
            out.lines.push_back(step.line);
            continue;
        case StepKind::Page:
            if (writeFailed)
                continue; // the page writing stopped at its first failed page
            Apply(step);
            writeFailed = !Passes(step);
            continue;
        case StepKind::CrcResult: {
            // The chip's answer: a failed read is taken as no match, a frozen chip
            // answers with its last named register, otherwise the CRC of its flash.
            Apply(step);
            bool match;
            if (fault_ == Fault::ReadFail && !Before(step.read))
                match = false;
            else if (fault_ == Fault::DropWrites && !Before(step.read))
                match = Frozen() == step.localCrc;
            else
                match = FlashCrc(step.bank, 0, step.length - 1) == step.localCrc;
            if (!match)
                return fail(step);
            continue;
        }
        case StepKind::Exit:
            Apply(step);
            ++out.exits;
            continue;
        case StepKind::WriteOk:
            if (writeFailed)
                return fail(step);
            continue;
        default:
            Apply(step);
            if (step.read >= 0 && !Passes(step))
                return fail(step);
        }
    }
    return out;
}

} // namespace rtd::test
