// Builds the bytes of one MIDI track chunk's body.
#include "MidiTrackWriter.h"

namespace midiwriter {

namespace {
std::uint8_t low7(int value) {
    return static_cast<std::uint8_t>(value & 0x7F);
}
std::uint8_t nibble(int channel) {
    return static_cast<std::uint8_t>(channel & 0x0F);
}
} // namespace

void MidiTrackWriter::appendVarLen(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1) {
        out.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
    }
    out.push_back(groups[0]);
}

void MidiTrackWriter::channelMessage(std::uint32_t delta, std::uint8_t status, int data1, int data2,
                                     bool twoDataBytes) {
    writeVarLen(delta);
    if (!runningStatus_ || status != lastStatus_) {
        bytes_.push_back(status);
    }
    lastStatus_ = status;
    bytes_.push_back(low7(data1));
    if (twoDataBytes) {
        bytes_.push_back(low7(data2));
    }
}

void MidiTrackWriter::noteOn(std::uint32_t delta, int channel, int key, int velocity) {
    channelMessage(delta, static_cast<std::uint8_t>(0x90 | nibble(channel)), key, velocity, true);
}

void MidiTrackWriter::noteOff(std::uint32_t delta, int channel, int key) {
    channelMessage(delta, static_cast<std::uint8_t>(0x80 | nibble(channel)), key, 0, true);
}

void MidiTrackWriter::controller(std::uint32_t delta, int channel, int number, int value) {
    channelMessage(delta, static_cast<std::uint8_t>(0xB0 | nibble(channel)), number, value, true);
}

void MidiTrackWriter::program(std::uint32_t delta, int channel, int program) {
    channelMessage(delta, static_cast<std::uint8_t>(0xC0 | nibble(channel)), program, 0, false);
}

void MidiTrackWriter::pitchBend(std::uint32_t delta, int channel, int value14) {
    channelMessage(delta, static_cast<std::uint8_t>(0xE0 | nibble(channel)), value14, value14 >> 7,
                   true);
}

void MidiTrackWriter::meta(std::uint32_t delta, std::uint8_t type, std::string_view data) {
    writeVarLen(delta);
    bytes_.push_back(0xFF);
    bytes_.push_back(type);
    writeVarLen(static_cast<std::uint32_t>(data.size()));
    bytes_.insert(bytes_.end(), data.begin(), data.end());
}

void MidiTrackWriter::tempo(std::uint32_t delta, std::uint32_t microsecondsPerQuarter) {
    const char data[3] = {static_cast<char>((microsecondsPerQuarter >> 16) & 0xFF),
                          static_cast<char>((microsecondsPerQuarter >> 8) & 0xFF),
                          static_cast<char>(microsecondsPerQuarter & 0xFF)};
    meta(delta, 0x51, std::string_view(data, 3));
}

void MidiTrackWriter::marker(std::uint32_t delta, std::string_view text) {
    meta(delta, 0x06, text);
}

void MidiTrackWriter::sysex(std::uint32_t delta, const std::vector<std::uint8_t>& bodyWithF7) {
    writeVarLen(delta);
    bytes_.push_back(0xF0);
    writeVarLen(static_cast<std::uint32_t>(bodyWithF7.size()));
    bytes_.insert(bytes_.end(), bodyWithF7.begin(), bodyWithF7.end());
}

void MidiTrackWriter::endOfTrack(std::uint32_t delta) {
    meta(delta, 0x2F, {});
}

void MidiTrackWriter::raw(const std::vector<std::uint8_t>& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

} // namespace midiwriter
