#include "platform/ui/SoundPlayer.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>
#include <memory>

namespace {

class QtSoundPlayer : public SoundPlayer {
public:
    bool PlayLooping(const std::string& path) override {
        const QString file = QString::fromStdString(path);
        if (!QFileInfo::exists(file)) {
            return false;
        }
        if (!effect_) {
            effect_ = std::make_unique<QSoundEffect>();
        }
        effect_->stop();
        effect_->setSource(QUrl::fromLocalFile(file));
        effect_->setLoopCount(QSoundEffect::Infinite);
        effect_->play();
        return true;
    }

    void Stop() override {
        if (effect_) {
            effect_->stop();
        }
    }

    void Release() { effect_.reset(); }

private:
    std::unique_ptr<QSoundEffect> effect_;
};

SoundPlayer* installedPlayer = nullptr;
QtSoundPlayer* realPlayer = nullptr;

} // namespace

SoundPlayer& SoundPlayer::Current() {
    if (installedPlayer != nullptr) {
        return *installedPlayer;
    }
    static QtSoundPlayer real;
    realPlayer = &real;
    return real;
}

void SoundPlayer::Install(SoundPlayer* player) { installedPlayer = player; }

void SoundPlayer::Shutdown() {
    if (realPlayer != nullptr) {
        realPlayer->Stop();
        realPlayer->Release();
    }
}
