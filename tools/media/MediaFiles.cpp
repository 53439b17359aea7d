#include "tools/media/MediaFiles.h"

#include "tools/media/IcoFile.h"
#include "tools/media/IconArt.h"
#include "tools/media/Sounds.h"
#include "tools/media/Wave.h"

namespace pebbo {

std::vector<MediaFile> mediaFiles() {
    return {
        {"sounds/pop.wav", encodeWave(popSound())},
        {"sounds/hero.wav", encodeWave(heroSound())},
        {"sounds/submarine.wav", encodeWave(submarineSound())},
        {"sounds/tink.wav", encodeWave(tinkSound())},
        {"icon/pebbo.ico", encodeIco({drawBoardIcon(16), drawBoardIcon(32), drawBoardIcon(48)})},
    };
}

} // namespace pebbo
