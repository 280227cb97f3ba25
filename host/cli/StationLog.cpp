#include "StationLog.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace rtd::host {

const char* const kStationLogHeader = "time,file,sha256,result,crc8,seconds";

namespace {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

} // namespace

std::string StationLogLine(const BoardRow& row) {
    std::string crcs;
    for (const BankReport& b : row.banks)
        crcs += (crcs.empty() ? "" : " ") + std::to_string(b.bank) + ":" +
                (b.chipAnswered ? HexCrc(b.chipCrc).substr(2) : "--");
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", row.seconds);
    return row.time + "," + CsvField(row.file) + "," + row.sha256 + "," +
           (row.passed        ? "passed"
            : row.interrupted ? "interrupted"
                              : "failed") +
           "," + crcs + "," + seconds;
}

std::string IsoTimeNow() {
    const std::time_t now = std::time(nullptr);
    char text[32] = {};
    if (const std::tm* utc = std::gmtime(&now))
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", utc);
    return text;
}

StationLog::~StationLog() {
    if (file_)
        std::fclose(file_);
}

bool StationLog::Open(const std::string& path, std::string* error) {
    path_ = path;
    // Binary: the line end is '\n' on every system, and the last byte reads as it is.
    file_ = std::fopen(path.c_str(), "a+b");
    if (!file_) {
        *error = "cannot open the station log " + path + ": " + std::strerror(errno);
        return false;
    }
    // Room for any row, so that a row reaches the file in one write at the flush.
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
    if (std::fseek(file_, 0, SEEK_END) != 0) {
        *error = "cannot read the station log " + path;
        return false;
    }
    const long size = std::ftell(file_);
    if (size == 0)
        return Append(kStationLogHeader, error);
    int last = EOF;
    if (size > 0 && std::fseek(file_, -1, SEEK_END) == 0)
        last = std::fgetc(file_);
    if (last == EOF) {
        *error = "cannot read the station log " + path;
        return false;
    }
    // Between a read and a write of a "+" stream, a seek; appends go to the end anyway.
    std::fseek(file_, 0, SEEK_END);
    return last == '\n' || Put("\n", error);
}

bool StationLog::Append(const std::string& line, std::string* error) {
    return Put(line + "\n", error);
}

bool StationLog::Put(const std::string& text, std::string* error) {
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fflush(file_) != 0) {
        *error = "cannot write the station log " + path_ + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace rtd::host
