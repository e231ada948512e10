// A shared library named like the logic library that lacks its entry.
extern "C" __attribute__((visibility("default"))) int NotTheLogic() {
    return 0;
}
