#include "common/input_script.h"

#include <cstdlib>
#include <sstream>

#include "common/number_text.h"
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

} // namespace

uint32_t VirtualKeyFromName(const std::string& name) {
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return static_cast<uint32_t>(name[0]);
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return static_cast<uint32_t>(name[0]);
    for (const NamedKey& key : NamedKeys)
        if (name == key.name) return key.code;
    if (name.size() == 7 && name.compare(0, 6, "NUMPAD") == 0 && name[6] >= '0' && name[6] <= '9')
        return VK_NUMPAD0 + static_cast<uint32_t>(name[6] - '0');
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F' && name[1] >= '1' && name[1] <= '9') {
        int n = std::atoi(name.c_str() + 1);
        if (n <= 12 && (name.size() == 2 || (name[2] >= '0' && name[2] <= '9')))
            return VK_F1 + static_cast<uint32_t>(n - 1);
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
        if (second == std::string::npos) {
            error = "bad event '" + word + "' (expected FRAME:down:KEY, FRAME:up:KEY or FRAME:drag:DX,DY)";
            return false;
        }
        InputEvent event;
        long long number = 0;
        std::string problem;
        auto fail = [&](const std::string& what) {
            error = "bad event '" + word + "': " + what;
            return false;
        };
        if (!ParseBoundedNumber(word.substr(0, first), 1, MaxFrameNumber, "frame", number, problem))
            return fail(problem);
        event.frame = static_cast<int>(number);
        std::string action = word.substr(first + 1, second - first - 1);
        std::string argument = word.substr(second + 1);
        if (action == "down" || action == "up") {
            event.kind = action == "down" ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
            event.virtualKey = VirtualKeyFromName(argument);
            if (event.virtualKey == 0)
                return fail("unknown key '" + argument + "' (key codes run from 0x01 to 0xFF)");
        } else if (action == "drag") {
            size_t comma = argument.find(',');
            if (comma == std::string::npos) return fail("expected FRAME:drag:DX,DY");
            if (!ParseBoundedNumber(argument.substr(0, comma), -MaxDragX, MaxDragX, "DX", number, problem))
                return fail(problem);
            event.dx = static_cast<int>(number);
            if (!ParseBoundedNumber(argument.substr(comma + 1), -MaxDragY, MaxDragY, "DY", number, problem))
                return fail(problem);
            event.dy = static_cast<int>(number);
            event.kind = InputEvent::Kind::Drag;
        } else {
            return fail("unknown action '" + action + "'");
        }
        events.push_back(event);
    }
    return true;
}
