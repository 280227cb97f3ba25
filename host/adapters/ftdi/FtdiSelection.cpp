#include "FtdiSelection.h"

#include <cctype>

namespace rtd::host::ftdi {

namespace {

bool IsInterface(const std::string& text, int* channel) {
    if (text.size() != 1)
        return false;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    if (letter < 'A' || letter > 'D')
        return false;
    *channel = letter - 'A';
    return true;
}

bool IsIndex(const std::string& text, int* index) {
    if (text.empty() || text.size() > 3)
        return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    *index = std::stoi(text);
    return true;
}

bool ParseChip(const std::string& text, FtdiChip* chip) {
    std::string lower;
    for (char c : text)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (FtdiChip candidate : {FtdiChip::Ft232h, FtdiChip::Ft2232h, FtdiChip::Ft4232h}) {
        std::string name;
        for (const char* p = ChipName(candidate); *p; ++p)
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
        if (lower == name) {
            *chip = candidate;
            return true;
        }
    }
    return false;
}

} // namespace

bool ParseFtdiSelection(const std::string& desc, FtdiSelection* out, std::string* error) {
    *out = FtdiSelection{};
    const size_t colon = desc.find(':');
    const std::string first = desc.substr(0, colon);
    const std::string second = colon == std::string::npos ? "" : desc.substr(colon + 1);
    const bool hasSecond = colon != std::string::npos;
    if (first == "model") {
        out->model = true;
        if (!hasSecond || ParseChip(second, &out->modelChip))
            return true;
        *error = "--bus ftdi:model:" + second + ": the model is an ft232h, ft2232h or ft4232h";
        return false;
    }
    if (!hasSecond && IsInterface(first, &out->channel))
        return true;
    if (hasSecond && !IsInterface(second, &out->channel)) {
        *error = "--bus ftdi:" + desc + ": the interface is a letter A to D";
        return false;
    }
    if (!IsIndex(first, &out->index))
        out->serial = first;
    if (hasSecond && first.empty()) {
        *error = "--bus ftdi:" + desc + ": name the device (index or serial) before the interface";
        return false;
    }
    return true;
}

int FindFtdiDevice(const std::vector<FtdiDevice>& devices, const FtdiSelection& selection,
                   std::string* error) {
    int found = -1;
    if (devices.empty()) {
        *error = "no FTDI FT232H, FT2232H or FT4232H is attached";
        return -1;
    }
    if (selection.serial.empty()) {
        if (selection.index >= static_cast<int>(devices.size())) {
            *error = "no FTDI adapter " + std::to_string(selection.index) + ": " +
                     std::to_string(devices.size()) + " attached (ftdi:0 is the first)";
            return -1;
        }
        found = selection.index;
    } else {
        for (size_t i = 0; i < devices.size() && found < 0; ++i)
            if (devices[i].serial == selection.serial)
                found = static_cast<int>(i);
        if (found < 0) {
            *error = "no FTDI adapter with serial number " + selection.serial;
            return -1;
        }
    }
    const FtdiChip chip = devices[static_cast<size_t>(found)].chip;
    if (selection.channel >= MpsseInterfaces(chip)) {
        *error = std::string("the ") + ChipName(chip) + " at " + "ftdi:" + std::to_string(found) +
                 " has no MPSSE on interface " + selection.InterfaceLetter() +
                 (MpsseInterfaces(chip) == 1 ? " (only A)" : " (A or B)");
        return -1;
    }
    return found;
}

std::string FtdiBusName(int index, int channel) {
    return "ftdi:" + std::to_string(index) + ":" + static_cast<char>('A' + channel);
}

} // namespace rtd::host::ftdi
