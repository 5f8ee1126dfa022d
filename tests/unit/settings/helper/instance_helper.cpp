// A stand-in second process for the instance tests: optionally registers itself in a given
// folder, then waits to be ended (and ends by itself after a while so it never lingers).
#include "platform/process/instance_registry.h"

#include <chrono>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    tessaview::InstanceRegistry registry(tessaview::InstanceRegistry::Options{argc > 1 ? argv[1] : "", ""});
    if (argc > 1) registry.Register();
    std::this_thread::sleep_for(std::chrono::seconds(30));
    return 0;
}
