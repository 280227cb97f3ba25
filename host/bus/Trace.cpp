#include "Trace.h"

namespace rtd::host {

std::string FormatHexBytes(const uint8_t* data, int count) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(count > 0 ? static_cast<size_t>(count) * 3 : 0);
    for (int i = 0; i < count; ++i) {
        if (i)
            out += ' ';
        out += kDigits[data[i] >> 4];
        out += kDigits[data[i] & 0x0F];
    }
    return out;
}

Trace::~Trace() {
    Close();
}

bool Trace::Open(const std::string& path, std::string* error) {
    Close();
    // Binary mode: the trace has "\n" line ends on every system, so traces compare as bytes.
    std::string reason;
    if (file_.Open(path, &reason))
        return true;
    if (error)
        *error = "cannot create the trace file " + path;
    return false;
}

bool Trace::Close() {
    if (!IsOpen())
        return true;
    std::string reason;
    return file_.Commit(&reason);
}

void Trace::Event(const std::string& line) {
    if (!IsOpen())
        return;
    file_.Write(line.data(), line.size());
    file_.Write("\n", 1);
}

void Trace::Bus(char kind, uint8_t address, int count, const uint8_t* data) {
    if (!IsOpen() && !echo_)
        return;
    std::string line(1, kind);
    line += ' ';
    line += FormatHexBytes(&address, 1);
    if (count > 0) {
        line += ' ';
        line += FormatHexBytes(data, count);
    }
    if (echo_)
        echo_(line);
    Event(line);
}

void Trace::Adapter(bool toAdapter, const std::vector<uint8_t>& bytes) {
    if (!IsOpen())
        return;
    std::string line = toAdapter ? "A >" : "A <";
    if (!bytes.empty())
        line += ' ' + FormatHexBytes(bytes.data(), static_cast<int>(bytes.size()));
    Event(line);
}

} // namespace rtd::host
