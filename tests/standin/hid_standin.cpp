// A stand-in for hidapi's hidraw backend: one foot pedal that replays a script, for tests of the
// real pedal layer and of the real binary on machines without HID devices. Only the functions the
// pedal layer looks up are here.
//
// The script is the file named by SCRIBO_HID_STANDIN_SCRIPT, read again on every call, so a test
// may append to it while the program runs. One command a line ('#' starts a comment):
//   report 02 00   the next read delivers these bytes (hex, as the device sends them)
//   unplug         the pedal is pulled out: its reads fail, enumeration finds nothing
//   plug           it is plugged in again, as a new device node
//   wait 500       the lines after it wait until 500 ms after it was reached
//   fail-init      hid_init fails
// Each call is appended to the file named by SCRIBO_HID_STANDIN_LOG, one line each.

#include <hidapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct hid_device_ {
    int generation;
    bool dataInterface;
};

namespace {
using Clock = std::chrono::steady_clock;

constexpr unsigned short kVendor = 0x05F3;
constexpr unsigned short kProduct = 0x00FF;

struct State {
    std::size_t done = 0;  // script lines carried out
    bool present = true;
    int generation = 1;
    bool waiting = false;
    Clock::time_point waitEnd;
} state;

std::vector<std::string> scriptLines() {
    std::vector<std::string> lines;
    const char* name = std::getenv("SCRIBO_HID_STANDIN_SCRIPT");
    if (!name) return lines;
    std::ifstream in(name);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string command(const std::string& line) {
    std::istringstream in(line);
    std::string word;
    in >> word;
    return word;
}

void log(const std::string& text) {
    const char* name = std::getenv("SCRIBO_HID_STANDIN_LOG");
    if (!name) return;
    std::ofstream(name, std::ios::app) << text << '\n';
}

std::string dataPath() {
    return "/dev/hidraw-standin" + std::to_string(state.generation);
}
std::string keyboardPath() {
    return dataPath() + "-keyboard";
}

// Carries out the script up to the next report, which only a read takes, or an unfinished wait.
void advance(const std::vector<std::string>& lines) {
    while (state.done < lines.size()) {
        const std::string& line = lines[state.done];
        const std::string word = command(line);
        if (word == "report") return;
        if (word == "wait") {
            if (!state.waiting) {
                std::istringstream in(line);
                std::string ignored;
                int ms = 0;
                in >> ignored >> ms;
                state.waiting = true;
                state.waitEnd = Clock::now() + std::chrono::milliseconds(ms);
            }
            if (Clock::now() < state.waitEnd) return;
            state.waiting = false;
        } else if (word == "unplug") {
            state.present = false;
        } else if (word == "plug") {
            state.present = true;
            ++state.generation;
        }
        ++state.done;
    }
}

hid_device_info* deviceInfo(const std::string& path, unsigned short usagePage) {
    auto* info = static_cast<hid_device_info*>(std::calloc(1, sizeof(hid_device_info)));
    info->path = strdup(path.c_str());
    info->vendor_id = kVendor;
    info->product_id = kProduct;
    info->usage_page = usagePage;
    info->usage = 1;
    return info;
}
}  // namespace

extern "C" {

int hid_init(void) {
    log("hid_init");
    state = State{};  // a fresh pedal for every load, should the library stay mapped
    for (const std::string& line : scriptLines())
        if (command(line) == "fail-init") return -1;
    return 0;
}

int hid_exit(void) {
    log("hid_exit");
    return 0;
}

hid_device_info* hid_enumerate(unsigned short vendor_id, unsigned short product_id) {
    char text[64];
    std::snprintf(text, sizeof text, "hid_enumerate %04x %04x", vendor_id, product_id);
    log(text);
    advance(scriptLines());
    if (!state.present || (vendor_id != 0 && vendor_id != kVendor) ||
        (product_id != 0 && product_id != kProduct))
        return nullptr;
    // The keyboard-emulation interface comes first, as it may on a real device; it never reports.
    hid_device_info* keyboard = deviceInfo(keyboardPath(), 0x0001);
    keyboard->next = deviceInfo(dataPath(), 0x000C);
    return keyboard;
}

void hid_free_enumeration(hid_device_info* devices) {
    while (devices) {
        hid_device_info* next = devices->next;
        std::free(devices->path);
        std::free(devices);
        devices = next;
    }
}

hid_device* hid_open_path(const char* path) {
    log(std::string("hid_open_path ") + path);
    advance(scriptLines());
    if (!state.present) return nullptr;
    if (path == dataPath()) return new hid_device{state.generation, true};
    if (path == keyboardPath()) return new hid_device{state.generation, false};
    return nullptr;
}

int hid_read_timeout(hid_device* dev, unsigned char* data, size_t length, int milliseconds) {
    log("hid_read_timeout " + std::to_string(length) + " " + std::to_string(milliseconds));
    const std::vector<std::string> lines = scriptLines();
    advance(lines);
    if (!state.present || dev->generation != state.generation) return -1;
    if (!dev->dataInterface || state.done >= lines.size()) return 0;
    std::istringstream in(lines[state.done]);
    std::string word;
    in >> word;
    std::size_t n = 0;
    for (std::string byte; in >> byte && byte[0] != '#' && n < length;)
        data[n++] = static_cast<unsigned char>(std::strtoul(byte.c_str(), nullptr, 16));
    ++state.done;
    return static_cast<int>(n);
}

void hid_close(hid_device* dev) {
    log("hid_close");
    delete dev;
}
}
