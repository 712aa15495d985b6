// Reads Standard MIDI Files into a Song. Where the file is damaged the reader either rejects it
// or, where common players still play what is there, keeps the events before the damage:
//   rejected: not a MIDI file, a short or truncated header, format 2 or unknown, no tracks, a zero
//             or unknown division, more track chunks than the header says, a variable-length
//             number over four bytes, running status with no status yet, a data byte over 127,
//             a status byte that has no place in a file, too many events or ticks, over 16 MiB;
//   read up to the damage: a track chunk, or an event inside it, running past the end of the
//             file or of its chunk (a file cut short by a broken download or copy).
#include "midi/MidiFileReader.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <system_error>

namespace lyrinth {

namespace {

using Bytes = std::span<const std::uint8_t>;

std::uint32_t big16(Bytes b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] << 8 | b[at + 1]);
}

std::uint32_t big32(Bytes b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) << 24 | static_cast<std::uint32_t>(b[at + 1]) << 16 |
           static_cast<std::uint32_t>(b[at + 2]) << 8 | b[at + 3];
}

std::uint32_t little32(Bytes b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at + 3]) << 24 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(b[at + 1]) << 8 | b[at];
}

bool hasId(Bytes b, std::size_t at, const char* id) {
    return at + 4 <= b.size() && std::equal(id, id + 4, b.begin() + static_cast<long>(at));
}

std::string hex(unsigned value) {
    static const char digits[] = "0123456789ABCDEF";
    return std::string("0x") + digits[(value >> 4) & 0xF] + digits[value & 0xF];
}

bool equalsIgnoringCase(std::string_view text, std::string_view word) {
    // Writers pad text with spaces or NULs now and then.
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) {
        text.remove_suffix(1);
    }
    return std::equal(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

// How reading one track ended.
enum class TrackEnd { Complete, Damaged, Rejected };

struct TimedEvent {
    MidiEvent event;
    std::uint32_t track = 0;
};

// Reads the events of one track chunk's body.
class TrackParser {
public:
    TrackParser(Bytes body, std::uint32_t track, Song& song, std::vector<TimedEvent>& out)
        : body_(body), track_(track), song_(song), out_(out) {}

    TrackEnd run(std::string& why) {
        while (pos_ < body_.size()) {
            std::uint32_t delta = 0;
            const TrackEnd deltaEnd = readVarLen(delta, why);
            if (deltaEnd != TrackEnd::Complete) {
                return deltaEnd;
            }
            tick_ += delta;
            if (tick_ > MidiFileReader::kMaxTick) {
                why = "the song is longer than " + std::to_string(MidiFileReader::kMaxTick) +
                      " ticks";
                return TrackEnd::Rejected;
            }
            if (pos_ >= body_.size()) {
                return damaged("a delta time with no event", why);
            }
            const TrackEnd eventEnd = readEvent(why);
            if (eventEnd != TrackEnd::Complete || endOfTrack_) {
                return eventEnd;
            }
        }
        return TrackEnd::Complete;
    }

    std::uint32_t endTick() const { return static_cast<std::uint32_t>(tick_); }

private:
    TrackEnd damaged(const std::string& what, std::string& why) {
        why = "track " + std::to_string(track_ + 1) + " is cut short: " + what;
        return TrackEnd::Damaged;
    }

    TrackEnd readVarLen(std::uint32_t& value, std::string& why) {
        value = 0;
        for (int count = 0; count < 4; ++count) {
            if (pos_ >= body_.size()) {
                return damaged("a variable-length number runs past its end", why);
            }
            const std::uint8_t byte = body_[pos_++];
            value = value << 7 | (byte & 0x7Fu);
            if ((byte & 0x80) == 0) {
                return TrackEnd::Complete;
            }
        }
        why = "a variable-length number in track " + std::to_string(track_ + 1) +
              " is longer than four bytes";
        return TrackEnd::Rejected;
    }

    TrackEnd push(const MidiEvent& event, std::string& why) {
        if (out_.size() >= MidiFileReader::kMaxEvents) {
            why = "more than " + std::to_string(MidiFileReader::kMaxEvents) + " events";
            return TrackEnd::Rejected;
        }
        out_.push_back({event, track_});
        return TrackEnd::Complete;
    }

    TrackEnd readEvent(std::string& why) {
        std::uint8_t status = body_[pos_];
        if (status & 0x80) {
            ++pos_;
            if (status < 0xF0) {
                // Kept across meta and system exclusive events too: some writers rely on it,
                // and no well-formed file can be misread because of it.
                runningStatus_ = status;
            }
        } else if (runningStatus_ == 0) {
            why = "running status with no status byte before it in track " +
                  std::to_string(track_ + 1);
            return TrackEnd::Rejected;
        } else {
            status = runningStatus_;
        }
        if (status < 0xF0) {
            return readChannelMessage(status, why);
        }
        if (status == 0xF0 || status == 0xF7) {
            return readPayloadEvent(MidiEventKind::SysEx, status, why);
        }
        if (status == 0xFF) {
            if (pos_ >= body_.size()) {
                return damaged("a meta event has no type", why);
            }
            return readPayloadEvent(MidiEventKind::Meta, body_[pos_++], why);
        }
        why = "status byte " + hex(status) + " has no place in a MIDI file (track " +
              std::to_string(track_ + 1) + ")";
        return TrackEnd::Rejected;
    }

    TrackEnd readChannelMessage(std::uint8_t status, std::string& why) {
        const int type = status & 0xF0;
        const std::size_t count = (type == 0xC0 || type == 0xD0) ? 1 : 2;
        if (body_.size() - pos_ < count) {
            return damaged("a channel message is missing its data", why);
        }
        MidiEvent event;
        event.tick = static_cast<std::uint32_t>(tick_);
        event.status = status;
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t data = body_[pos_++];
            if (data > 127) {
                why = "data byte " + hex(data) + " over 127 in track " + std::to_string(track_ + 1);
                return TrackEnd::Rejected;
            }
            (i == 0 ? event.data1 : event.data2) = data;
        }
        return push(event, why);
    }

    TrackEnd readPayloadEvent(MidiEventKind kind, std::uint8_t status, std::string& why) {
        std::uint32_t length = 0;
        const TrackEnd lengthEnd = readVarLen(length, why);
        if (lengthEnd != TrackEnd::Complete) {
            return lengthEnd;
        }
        if (length > body_.size() - pos_) {
            return damaged("an event's length runs past the end of its track", why);
        }
        const Bytes data = body_.subspan(pos_, length);
        pos_ += length;
        MidiEvent event;
        event.tick = static_cast<std::uint32_t>(tick_);
        event.kind = kind;
        event.status = status;
        if (kind == MidiEventKind::Meta) {
            if (status == 0x2F) {
                endOfTrack_ = true;
                return TrackEnd::Complete;
            }
            if (status == 0x51) {
                // A tempo of a wrong length or of zero is skipped, as players do.
                if (length != 3) {
                    return TrackEnd::Complete;
                }
                event.kind = MidiEventKind::Tempo;
                event.value = static_cast<std::uint32_t>(data[0]) << 16 |
                              static_cast<std::uint32_t>(data[1]) << 8 | data[2];
                return event.value == 0 ? TrackEnd::Complete : push(event, why);
            }
        }
        event.value = static_cast<std::uint32_t>(song_.payload.size());
        event.size = length;
        song_.payload.insert(song_.payload.end(), data.begin(), data.end());
        return push(event, why);
    }

    Bytes body_;
    std::uint32_t track_;
    Song& song_;
    std::vector<TimedEvent>& out_;
    std::size_t pos_ = 0;
    std::uint64_t tick_ = 0;
    std::uint8_t runningStatus_ = 0;
    bool endOfTrack_ = false;
};

// Finds the Standard MIDI File inside a RIFF RMID wrapper; returns false if there is none.
bool unwrapRmid(Bytes& bytes, std::string& why) {
    if (bytes.size() < 12 || !hasId(bytes, 8, "RMID")) {
        why = "a RIFF file but not RMID: not a Standard MIDI File";
        return false;
    }
    std::size_t pos = 12;
    // The pad byte after an odd-sized chunk may be missing at the end: pos can pass the end.
    while (pos <= bytes.size() && bytes.size() - pos >= 8) {
        const std::size_t size = little32(bytes, pos + 4);
        const std::size_t body = pos + 8;
        // A data chunk running past the end is read up to the end; the SMF checks follow.
        const std::size_t available = std::min(size, bytes.size() - body);
        if (hasId(bytes, pos, "data")) {
            bytes = bytes.subspan(body, available);
            return true;
        }
        if (available < size) {
            break;
        }
        pos = body + size + (size & 1);
    }
    why = "a RIFF RMID file without MIDI data";
    return false;
}

bool readHeader(Bytes bytes, Song& song, std::size_t& headerEnd, std::string& why) {
    if (!hasId(bytes, 0, "MThd")) {
        why = "not a Standard MIDI File";
        return false;
    }
    if (bytes.size() < 8) {
        why = "the header is cut short";
        return false;
    }
    const std::uint32_t length = big32(bytes, 4);
    if (length < 6) {
        why = "the header is too short";
        return false;
    }
    if (length > bytes.size() - 8) {
        why = "the header is cut short";
        return false;
    }
    headerEnd = 8 + static_cast<std::size_t>(length);
    song.format = static_cast<std::uint16_t>(big16(bytes, 8));
    song.trackCount = static_cast<std::uint16_t>(big16(bytes, 10));
    const std::uint32_t division = big16(bytes, 12);
    if (song.format == 2) {
        why = "format 2 (independent patterns) is not supported";
        return false;
    }
    if (song.format > 2) {
        why = "unknown format " + std::to_string(song.format);
        return false;
    }
    if (song.trackCount == 0) {
        why = "the header says there are no tracks";
        return false;
    }
    if (division & 0x8000) {
        const int framesPerSecond = 256 - static_cast<int>(division >> 8);
        const std::uint32_t ticksPerFrame = division & 0xFF;
        if ((framesPerSecond != 24 && framesPerSecond != 25 && framesPerSecond != 29 &&
             framesPerSecond != 30) ||
            ticksPerFrame == 0) {
            why = "unknown SMPTE time division";
            return false;
        }
        song.smpteTicksPerSecond =
            (framesPerSecond == 29 ? 29.97 : framesPerSecond) * static_cast<double>(ticksPerFrame);
    } else if (division == 0) {
        why = "the time division is zero";
        return false;
    } else {
        song.ticksPerQuarter = division;
    }
    return true;
}

void buildTempoMap(Song& song) {
    song.tempoMap.assign(1, TempoChange{0, Song::kDefaultTempo});
    for (const MidiEvent& event : song.events) {
        if (event.kind != MidiEventKind::Tempo) {
            continue;
        }
        if (song.tempoMap.back().tick == event.tick) {
            song.tempoMap.back().microsecondsPerQuarter = event.value;
        } else {
            song.tempoMap.push_back({event.tick, event.value});
        }
    }
}

void findLoopPoints(Song& song) {
    std::optional<std::uint32_t> marker;
    std::optional<std::uint32_t> controller;
    for (const MidiEvent& event : song.events) {
        if (event.kind == MidiEventKind::Meta && event.status == 0x06) {
            const std::string_view text = song.payloadOf(event);
            if (!marker && equalsIgnoringCase(text, "loopStart")) {
                marker = event.tick;
            } else if (!song.loopEndTick && equalsIgnoringCase(text, "loopEnd")) {
                song.loopEndTick = event.tick;
            }
        } else if (!controller && event.isController(111)) {
            controller = event.tick;
        }
    }
    if (marker) {
        song.loopStartKind = LoopStartKind::Marker;
        song.loopStartTick = *marker;
    } else if (controller) {
        song.loopStartKind = LoopStartKind::Controller111;
        song.loopStartTick = *controller;
    }
}

} // namespace

bool MidiFileReader::parse(Bytes bytes, Song& song, std::string& why) {
    song = Song{};
    if (bytes.size() > kMaxFileSize) {
        why = "larger than 16 MiB";
        return false;
    }
    if (hasId(bytes, 0, "RIFF") && !unwrapRmid(bytes, why)) {
        return false;
    }
    std::size_t pos = 0;
    if (!readHeader(bytes, song, pos, why)) {
        return false;
    }

    std::vector<TimedEvent> timed;
    std::uint32_t tracksRead = 0;
    while (bytes.size() - pos >= 8) {
        const std::size_t length = big32(bytes, pos + 4);
        const std::size_t body = pos + 8;
        const bool cut = length > bytes.size() - body;
        const std::size_t available = cut ? bytes.size() - body : length;
        if (!hasId(bytes, pos, "MTrk")) {
            if (cut) {
                break; // an unknown chunk cut short: nothing of ours follows
            }
            pos = body + length;
            continue;
        }
        if (tracksRead == song.trackCount) {
            why = "more track chunks than the " + std::to_string(song.trackCount) +
                  " the header says";
            return false;
        }
        TrackParser parser(bytes.subspan(body, available), tracksRead, song, timed);
        std::string damage;
        const TrackEnd end = parser.run(damage);
        if (end == TrackEnd::Rejected) {
            why = damage;
            return false;
        }
        if (cut && end == TrackEnd::Complete) {
            damage = "track " + std::to_string(tracksRead + 1) + " is cut short";
        }
        if (!damage.empty() && song.damage.empty()) {
            song.damage = damage;
        }
        song.endTick = std::max(song.endTick, parser.endTick());
        ++tracksRead;
        pos = body + available;
    }
    if (tracksRead == 0) {
        why = "no track chunk";
        return false;
    }
    if (!song.damage.empty() && timed.empty()) {
        why = song.damage + ", before any event";
        return false;
    }
    if (tracksRead < song.trackCount && song.damage.empty()) {
        song.damage = "only " + std::to_string(tracksRead) + " of " +
                      std::to_string(song.trackCount) + " tracks";
    }

    std::stable_sort(timed.begin(), timed.end(), [](const TimedEvent& a, const TimedEvent& b) {
        return a.event.tick < b.event.tick;
    });
    song.events.reserve(timed.size());
    for (const TimedEvent& t : timed) {
        song.events.push_back(t.event);
    }
    buildTempoMap(song);
    findLoopPoints(song);
    return true;
}

bool MidiFileReader::load(const std::filesystem::path& path, Song& song, std::string& why) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        why = std::filesystem::exists(path, error) ? "not a file" : "no such file";
        return false;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        why = "cannot read: " + error.message();
        return false;
    }
    if (size > kMaxFileSize) {
        why = "larger than 16 MiB";
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        why = "cannot read the file";
        return false;
    }
    return parse(bytes, song, why);
}

} // namespace lyrinth
