// The one translation unit that differs between two builds of the family: it links a declaration
// (app/this_build.h, generated per build) to the entry sequence.
#include "app/this_build.h"

namespace updater::app {

void ConfigureThisBuild(AppConfiguration& config, MessageSink& messages) {
    ConfigureBuild(config, messages, kThisBuild);
}

}  // namespace updater::app
