// Writes the udev rule file of the supported devices (build step).
#include "transport/device_access.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s RULE_FILE\n", argv[0]);
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << DeviceRules();
    out.close();
    if (!out) {
        std::fprintf(stderr, "error: %s could not be written\n", argv[1]);
        return 1;
    }
    return 0;
}
