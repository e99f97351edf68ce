#pragma once
// Plays the program's sound files. A sound started with PlayLooping replaces the one playing
// and repeats until another replaces it. Tests install a recording player: with no sound
// server a real player still claims to be playing, so tests check what was asked instead.

#include <string>
#include <vector>

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;

    /// Starts the WAV file at `path`, looping, in place of whatever is playing. Returns
    /// false when the file cannot be played (the board goes on silently).
    virtual bool PlayLooping(const std::string& path) = 0;
    /// Stops any sound.
    virtual void Stop() = 0;

    /// The installed player, or the real one when none is installed.
    static SoundPlayer& Current();
    /// Installs `player` (not owned) for the whole process; nullptr restores the real one.
    static void Install(SoundPlayer* player);
    /// Stops the real player, if it was ever used, before the program ends.
    static void Shutdown();
};

/// A player that only records what it was asked to play.
class RecordingSoundPlayer : public SoundPlayer {
public:
    bool PlayLooping(const std::string& path) override {
        played.push_back(path);
        return true;
    }
    void Stop() override { played.push_back(""); }

    /// Every path asked for, in order; "" for a Stop.
    std::vector<std::string> played;
};
