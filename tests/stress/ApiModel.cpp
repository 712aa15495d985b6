// What the exported functions must answer, from which engines the calls so far have brought up.
#include "ApiModel.h"

namespace lyrinth::test {

bool allows(Answer answer, std::int32_t got) {
    switch (answer) {
    case Answer::Yes:
        return got == -1;
    case Answer::No:
        return got == 0;
    case Answer::YesOrNo:
        return got == -1 || got == 0;
    case Answer::NonNegative:
        return got >= 0;
    case Answer::Version:
        return got == 111;
    }
    return false;
}

std::string describe(Answer answer) {
    switch (answer) {
    case Answer::Yes:
        return "-1";
    case Answer::No:
        return "0";
    case Answer::YesOrNo:
        return "-1 or 0";
    case Answer::NonNegative:
        return "0 or more";
    case Answer::Version:
        return "111";
    }
    return {};
}

Answer ApiModel::create() {
    // Called again while created: -1 and nothing else.
    created_ = true;
    return Answer::Yes;
}

Answer ApiModel::release() {
    const bool was = created_;
    created_ = midi_ = wave_ = false;
    return was ? Answer::Yes : Answer::No;
}

Answer ApiModel::initMidi() {
    return midiAvailable_ ? startEngine(midi_) : Answer::No;
}

Answer ApiModel::startEngine(bool& up) const {
    if (!created_) {
        return Answer::No;
    }
    // A second start may be refused or taken as done; either way the engine stays up.
    const Answer answer = up ? Answer::YesOrNo : Answer::Yes;
    up = true;
    return answer;
}

Answer ApiModel::stopEngine(bool& up) {
    const bool was = up;
    up = false;
    return was ? Answer::Yes : Answer::No;
}

} // namespace lyrinth::test
