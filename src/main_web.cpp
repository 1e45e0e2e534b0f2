// The editor in a browser: the program's run on the web platform. The page stays when the
// run ends, so it says so and offers to start again.

#include "app/startup.h"
#include "platform/web/web_platform.h"

int main() {
    const int code = tessaly::runTessaly(*tessaly::makeWebPlatform());
    tessaly::showEnded();
    return code;
}
