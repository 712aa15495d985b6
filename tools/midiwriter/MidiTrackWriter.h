// Builds the bytes of one MIDI track chunk's body: events with their delta times.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace midiwriter {

class MidiTrackWriter {
public:
    // With running status on, a channel message repeating the previous status omits it.
    explicit MidiTrackWriter(bool runningStatus = false) : runningStatus_(runningStatus) {}

    void noteOn(std::uint32_t delta, int channel, int key, int velocity);
    void noteOff(std::uint32_t delta, int channel, int key);
    void controller(std::uint32_t delta, int channel, int number, int value);
    void program(std::uint32_t delta, int channel, int program);
    void pitchBend(std::uint32_t delta, int channel, int value14);
    void tempo(std::uint32_t delta, std::uint32_t microsecondsPerQuarter);
    void marker(std::uint32_t delta, std::string_view text);
    void meta(std::uint32_t delta, std::uint8_t type, std::string_view data);
    void sysex(std::uint32_t delta, const std::vector<std::uint8_t>& bodyWithF7);
    void endOfTrack(std::uint32_t delta);

    // Appends raw bytes as they stand, for malformed fixtures.
    void raw(const std::vector<std::uint8_t>& bytes);
    void delta(std::uint32_t ticks) { writeVarLen(ticks); }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

    static void appendVarLen(std::vector<std::uint8_t>& out, std::uint32_t value);

private:
    void channelMessage(std::uint32_t delta, std::uint8_t status, int data1, int data2,
                        bool twoDataBytes);
    void writeVarLen(std::uint32_t value) { appendVarLen(bytes_, value); }

    std::vector<std::uint8_t> bytes_;
    bool runningStatus_;
    std::uint8_t lastStatus_ = 0;
};

} // namespace midiwriter
