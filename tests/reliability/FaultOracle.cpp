#include "FaultOracle.h"

#include "ReferenceCrc.h"

namespace rtd::test {

namespace {

using sim::ChipModel;

// The step whose awaited status a busy fault holds back.
TraceStep::Kind StalledStep(Fault fault) {
    switch (fault) {
    case Fault::NoIsp:
        return TraceStep::Entry;
    case Fault::EraseBusy:
        return TraceStep::Erase;
    case Fault::PageBusy:
        return TraceStep::Page;
    case Fault::CrcRangeBusy:
        return TraceStep::CrcRange;
    case Fault::CrcBusy:
        return TraceStep::CrcEngine;
    default:
        return TraceStep::Plain;
    }
}

} // namespace

uint8_t FaultOracle::FlashCrc(int bank, int start, int end) const {
    const std::vector<uint8_t>& flash = chip_.flash[static_cast<size_t>(bank)];
    if (end < start)
        return 0x00;
    return ReferenceCrc8(flash.data() + start, static_cast<size_t>(end - start + 1));
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
        const int base = step.page * ChipModel::kPageSize;
        for (int i = 0; i < ChipModel::kPageSize; ++i) {
            const bool stuck = fault_ == Fault::StuckBit && !Before(index) &&
                               base + i == kStuckAddress[chip_.bank];
            uint8_t& byte = flash[static_cast<size_t>(base + i)];
            if (!stuck)
                byte = ChipModel::Programmed(byte, b[static_cast<size_t>(1 + i)]);
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
    case TraceStep::Entry:
        return v == 0x40;
    case TraceStep::Erase:
    case TraceStep::CrcEngine:
        return (v & 0x80) == 0;
    case TraceStep::Page:
        return (v & 0x10) == 0;
    case TraceStep::CrcRange:
        return (v & 0x08) == 0;
    default:
        return true;
    }
}

Outcome FaultOracle::Run(const WireScript& script) {
    Outcome out;
    bool writeFailed = false;
    const auto fail = [&out](const Step& step) {
        if (!step.failLine.empty())
            out.lines.push_back(step.failLine);
        out.ok = false;
        return out;
    };
    for (const Step& step : script.Steps()) {
        switch (step.kind) {
        case TraceStep::Plain:
            for (const std::string& e : step.events)
                if (e[0] == 'L')
                    out.lines.push_back(e.substr(2));
            continue;
        case TraceStep::Page:
            if (writeFailed)
                continue; // the page writing stopped at its first failed page
            Apply(step);
            writeFailed = !Passes(step);
            continue;
        case TraceStep::CrcResult: {
            // The chip's answer: a failed read is taken as no match, a frozen chip
            // answers with its last named register, otherwise the CRC of its flash.
            Apply(step);
            bool match;
            if (fault_ == Fault::ReadFail && !Before(step.read))
                match = false;
            else if (fault_ == Fault::DropWrites && !Before(step.read))
                match = Frozen() == step.crc;
            else
                match = FlashCrc(step.bank, 0, step.length - 1) == step.crc;
            if (!match)
                return fail(step);
            continue;
        }
        case TraceStep::Exit:
            Apply(step);
            ++out.exits;
            continue;
        case TraceStep::WriteOk:
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
