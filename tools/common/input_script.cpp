#include "common/input_script.h"

#include <cstdlib>
#include <sstream>

#include "platform/virtual_keys.h"

namespace {

struct NamedKey {
    const char* name;
    uint32_t code;
};

constexpr NamedKey NamedKeys[] = {
    {"ESCAPE", VK_ESCAPE}, {"TAB", VK_TAB},           {"SHIFT", VK_SHIFT}, {"CONTROL", VK_CONTROL},
    {"RETURN", VK_RETURN}, {"SPACE", VK_SPACE},       {"UP", VK_UP},       {"DOWN", VK_DOWN},
    {"LEFT", VK_LEFT},     {"RIGHT", VK_RIGHT},       {"PRIOR", VK_PRIOR}, {"NEXT", VK_NEXT},
    {"ADD", VK_ADD},       {"SUBTRACT", VK_SUBTRACT},
};

bool ParseInt(const std::string& text, int& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    long parsed = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || parsed < -1000000 || parsed > 1000000) return false;
    value = static_cast<int>(parsed);
    return true;
}

} // namespace

uint32_t VirtualKeyFromName(const std::string& name) {
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return static_cast<uint32_t>(name[0]);
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return static_cast<uint32_t>(name[0]);
    for (const NamedKey& key : NamedKeys)
        if (name == key.name) return key.code;
    if (name.size() == 7 && name.compare(0, 6, "NUMPAD") == 0 && name[6] >= '0' && name[6] <= '9')
        return VK_NUMPAD0 + static_cast<uint32_t>(name[6] - '0');
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
        int n = 0;
        if (ParseInt(name.substr(1), n) && n >= 1 && n <= 12) return VK_F1 + static_cast<uint32_t>(n - 1);
    }
    if (name.size() > 2 && name.size() <= 4 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X')) {
        char* end = nullptr;
        unsigned long code = std::strtoul(name.c_str() + 2, &end, 16);
        if (*end == '\0' && code > 0 && code < 256) return static_cast<uint32_t>(code);
    }
    return 0;
}

bool ParseInputScript(const std::string& text, std::vector<InputEvent>& events, std::string& error) {
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        size_t first = word.find(':');
        size_t second = first == std::string::npos ? first : word.find(':', first + 1);
        InputEvent event;
        if (second == std::string::npos || !ParseInt(word.substr(0, first), event.frame) || event.frame < 1) {
            error = "bad event '" + word + "' (expected FRAME:down:KEY, FRAME:up:KEY or FRAME:drag:DX,DY)";
            return false;
        }
        std::string action = word.substr(first + 1, second - first - 1);
        std::string argument = word.substr(second + 1);
        if (action == "down" || action == "up") {
            event.kind = action == "down" ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
            event.virtualKey = VirtualKeyFromName(argument);
            if (event.virtualKey == 0) {
                error = "unknown key '" + argument + "' in '" + word + "'";
                return false;
            }
        } else if (action == "drag") {
            size_t comma = argument.find(',');
            if (comma == std::string::npos || !ParseInt(argument.substr(0, comma), event.dx) ||
                !ParseInt(argument.substr(comma + 1), event.dy)) {
                error = "bad drag '" + word + "' (expected FRAME:drag:DX,DY)";
                return false;
            }
            event.kind = InputEvent::Kind::Drag;
        } else {
            error = "unknown action '" + action + "' in '" + word + "'";
            return false;
        }
        events.push_back(event);
    }
    return true;
}
