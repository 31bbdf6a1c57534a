#include "tools/devsim/control_commands.h"

#include "tools/devsim/command_names.h"

#include <charconv>
#include <functional>
#include <sstream>
#include <vector>

namespace devsim {

namespace {

using Words = std::vector<std::string>;
using Handler = std::function<ControlReply(CDeviceSimulator&, const Words&)>;

ControlReply Ok(std::string text = "ok")
{
    return {true, std::move(text), false};
}

ControlReply Error(std::string text)
{
    return {false, "error: " + std::move(text), false};
}

// Decimal, or hexadecimal with "0x".
std::optional<long> ParseNumber(const std::string& word)
{
    const bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
    const char* first = word.data() + (hex ? 2 : 0);
    const char* last = word.data() + word.size();
    long value = 0;
    const auto [end, error] = std::from_chars(first, last, value, hex ? 16 : 10);
    if (error != std::errc() || end != last || first == last)
        return std::nullopt;
    return value;
}

std::optional<long> ParseInRange(const Words& words, size_t at, long low, long high)
{
    if (at >= words.size())
        return std::nullopt;
    const auto value = ParseNumber(words[at]);
    if (!value || *value < low || *value > high)
        return std::nullopt;
    return value;
}

std::optional<Device> DeviceAt(const Words& words, size_t at)
{
    return at < words.size() ? DeviceByName(words[at]) : std::nullopt;
}

// "fe", "0xfe" or 254.
std::optional<uint8_t> ParseStatus(const std::string& word)
{
    if (word == "ff")
        return kStatusFailed;
    if (word == "fe")
        return kStatusRefused;
    const auto value = ParseNumber(word);
    return value && *value >= 0 && *value <= 0xFF ? std::optional<uint8_t>(static_cast<uint8_t>(*value)) : std::nullopt;
}

std::optional<uint8_t> ParseCommand(const std::string& word)
{
    if (const auto code = CommandByName(word))
        return code;
    return ParseStatus(word);  // any byte
}

// "aa55 01" or "aa 55 01": hex digits, spaces ignored.
std::optional<std::vector<uint8_t>> ParseHexBytes(const Words& words, size_t from)
{
    std::string digits;
    for (size_t i = from; i < words.size(); ++i)
        digits += words[i];
    if (digits.empty() || digits.size() % 2 != 0)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < digits.size(); i += 2) {
        uint8_t value = 0;
        const auto [end, error] = std::from_chars(digits.data() + i, digits.data() + i + 2, value, 16);
        if (error != std::errc() || end != digits.data() + i + 2)
            return std::nullopt;
        bytes.push_back(value);
    }
    return bytes;
}

ControlReply Plug(CDeviceSimulator& sim, const Words& w)
{
    const auto port = w.size() > 1 ? PortByName(w[1]) : std::nullopt;
    if (!port)
        return Error("plug mouse-cable|mouse-receiver|keyboard|mousepad|headset");
    return sim.Plug(*port) ? Ok() : Error("cannot create the sockets in " + sim.BusDirectory());
}

ControlReply Unplug(CDeviceSimulator& sim, const Words& w)
{
    if (w.size() > 1 && w[1] == "all") {
        for (size_t i = 0; i < kPortCount; ++i)
            sim.Unplug(static_cast<Port>(i));
        return Ok();
    }
    const auto port = w.size() > 1 ? PortByName(w[1]) : std::nullopt;
    if (!port)
        return Error("unplug mouse-cable|mouse-receiver|keyboard|mousepad|headset|all");
    sim.Unplug(*port);
    return Ok();
}

ControlReply Move(CDeviceSimulator& sim, const Words& w)
{
    const std::string to = w.size() > 2 ? w[2] : w.size() > 1 ? w[1] : "";
    if (to == "cable")
        return sim.MoveMouse(Port::MouseCable) ? Ok() : Error("cannot plug the cable");
    if (to == "receiver")
        return sim.MoveMouse(Port::MouseReceiver) ? Ok() : Error("cannot plug the receiver");
    return Error("move mouse cable|receiver");
}

ControlReply Link(CDeviceSimulator& sim, const Words& w)
{
    sim.SetLinked(w[0] == "link");
    return Ok();
}

ControlReply Battery(CDeviceSimulator& sim, const Words& w)
{
    const auto device = DeviceAt(w, 1);
    const auto level = ParseInRange(w, 2, 0, 255);
    const std::string state = w.size() > 3 ? w[3] : "battery";
    const PowerState power = state == "charging" ? kCharging : state == "full" ? kFullyCharged : kOnBattery;
    if (!device || !level || (state != "battery" && state != "charging" && state != "full"))
        return Error("battery <device> <level 0-255> [battery|charging|full]");
    sim.SetBattery(*device, static_cast<uint8_t>(*level), power);
    return Ok();
}

ControlReply Notify(CDeviceSimulator& sim, const Words& w)
{
    const auto device = DeviceAt(w, 1);
    const auto code = ParseInRange(w, 2, 0, 0xFFFF);
    if (!device || !code)
        return Error("notify <device> <code, e.g. 0x0401>");
    return sim.Notify(*device, static_cast<uint16_t>(*code)) ? Ok() : Error("the device has no open notification path");
}

// A key press the mouse reports for its reactive light effect.

ControlReply Press(CDeviceSimulator& sim, const Words& w)
{
    const auto device = DeviceAt(w, 1);
    if (device == Device::Mouse && w.size() == 3 && w[2] == "key")
        return sim.Notify(Device::Mouse, kNotifyKeyPressed) ? Ok() : Error("the mouse is not reachable");
    const auto number = ParseInRange(w, 3, 0, 255);
    if (!device || w.size() < 4 || !number)
        return Error("press <device> profile <n> | press mouse dpi <stage> | press mouse key");
    const uint8_t n = static_cast<uint8_t>(*number);
    if (w[2] == "profile")
        return sim.PressProfileButton(*device, n) ? Ok() : Error("no such profile, or the device is not reachable");
    if (w[2] == "dpi" && *device == Device::Mouse)
        return sim.PressDpiButton(n) ? Ok() : Error("stage 0-6, with the mouse reachable");
    return Error("press <device> profile <n> | press mouse dpi <stage> | press mouse key");
}

ControlReply Fault(CDeviceSimulator& sim, const Words& w)
{
    const auto device = DeviceAt(w, 1);
    const std::string kind = w.size() > 2 ? w[2] : "";
    if (!device)
        return Error("fault <device> noreply|status|wrongcmd|twice|close|clear ...");
    if (kind == "noreply") {
        const auto count = w.size() > 3 ? ParseInRange(w, 3, 0, 1000000) : std::optional<long>(CFaultInjector::kForever);
        if (!count)
            return Error("fault <device> noreply [count]");
        sim.DropRequests(*device, static_cast<int>(*count));
    } else if (kind == "status") {
        const auto status = w.size() > 3 ? ParseStatus(w[3]) : std::nullopt;
        const auto command = w.size() > 4 ? ParseCommand(w[4]) : std::nullopt;
        const auto nth = w.size() > 5 ? ParseInRange(w, 5, 1, 1000000) : std::optional<long>(1);
        if (!status || !command || !nth)
            return Error("fault <device> status ff|fe <command name or code> [nth]");
        sim.FailNth(*device, *command, static_cast<int>(*nth), *status);
    } else if (kind == "wrongcmd") {
        sim.WrongCommandOnce(*device);
    } else if (kind == "twice") {
        sim.AnswerTwiceOnce(*device);
    } else if (kind == "close") {
        const auto nth = w.size() > 3 ? ParseInRange(w, 3, 1, 1000000) : std::optional<long>(1);
        if (!nth)
            return Error("fault <device> close [nth]");
        sim.CloseOnNth(*device, static_cast<int>(*nth));
    } else if (kind == "clear") {
        sim.ClearFaults(*device);
    } else {
        return Error("fault <device> noreply|status|wrongcmd|twice|close|clear ...");
    }
    return Ok(sim.DescribeFaults(*device));
}

ControlReply Latency(CDeviceSimulator& sim, const Words& w)
{
    const auto device = DeviceAt(w, 1);
    const auto ms = ParseInRange(w, 2, 0, 600000);
    if (!device || !ms)
        return Error("latency <device> <milliseconds>");
    sim.SetLatency(*device, static_cast<int>(*ms));
    return Ok();
}

ControlReply Version(CDeviceSimulator& sim, const Words& w)
{
    const auto device = DeviceAt(w, 1);
    const auto version = ParseInRange(w, 2, 0, 0xFFFF);
    if (!device || !version)
        return Error("version <device> <number, e.g. 0x0105>");
    sim.SetFirmwareVersion(*device, static_cast<uint16_t>(*version));
    return Ok("ok; new connections see the new version");
}

struct InfoField {
    const char* name;
    size_t offset;
    size_t width;
};
constexpr InfoField kInfoFields[] = {
    {"magic", kInfoMagic, 2},       {"keys", kInfoKeyCount, 1},      {"macro-units", kInfoMacroUnits, 1},
    {"marker", kInfoSetUpMarker, 1}, {"sensor", kInfoSensor, 2},      {"dpi-step", kInfoDpiStep, 1},
    {"dpi-max", kInfoDpiMax, 2},    {"dpi-base", kInfoDpiBase, 2},
};

ControlReply Info(CDeviceSimulator& sim, const Words& w)
{
    const auto device = DeviceAt(w, 1);
    for (const InfoField& field : kInfoFields) {
        if (!device || w.size() < 4 || w[2] != field.name)
            continue;
        const auto value = ParseInRange(w, 3, 0, field.width == 2 ? 0xFFFF : 0xFF);
        if (!value)
            break;
        std::vector<uint8_t> bytes{static_cast<uint8_t>(*value & 0xFF)};
        if (field.width == 2)
            bytes.push_back(static_cast<uint8_t>(*value >> 8));
        sim.WriteArea(*device, MemoryArea::Info, field.offset, bytes);
        return Ok();
    }
    return Error("info <device> magic|keys|macro-units|marker|sensor|dpi-step|dpi-max|dpi-base <value>");
}

ControlReply Poke(CDeviceSimulator& sim, const Words& w)
{
    const auto device = DeviceAt(w, 1);
    const auto area = w.size() > 2 ? AreaByName(w[2]) : std::nullopt;
    const auto offset = ParseInRange(w, 3, 0, 0xFFFF);
    const auto bytes = ParseHexBytes(w, 4);
    if (!device || !area || !offset || !bytes)
        return Error("poke <device> <area> <offset> <hex bytes>");
    return sim.WriteArea(*device, *area, static_cast<size_t>(*offset), *bytes) ? Ok() : Error("outside the area");
}

ControlReply Dump(CDeviceSimulator& sim, const Words& w)
{
    const auto device = DeviceAt(w, 1);
    const auto area = w.size() > 2 ? AreaByName(w[2]) : std::nullopt;
    if (!device || (w.size() > 2 && !area))
        return Error("dump <device> [info|settings|keys|key-attributes|key-colors|macro|recoil|stream|status|headset-lights]");
    return Ok(sim.Dump(*device, area));
}

ControlReply Reset(CDeviceSimulator& sim, const Words& w)
{
    const auto device = DeviceAt(w, 1);
    if (!device)
        return Error("reset <device>");
    sim.FactoryReset(*device);
    return Ok();
}

ControlReply Log(CDeviceSimulator& sim, const Words& w)
{
    const std::string target = w.size() > 1 ? w[1] : "";
    if (target.empty())
        return Error("log <file>|-|off");
    return sim.SetTrafficLog(target == "off" ? "" : target) ? Ok() : Error("cannot open " + target);
}

ControlReply State(CDeviceSimulator& sim, const Words&)
{
    return Ok(sim.DescribeState());
}

ControlReply Help(CDeviceSimulator&, const Words&)
{
    return Ok(ControlHelp());
}

ControlReply Quit(CDeviceSimulator&, const Words&)
{
    return {true, "bye", true};
}

const std::vector<std::pair<std::string, Handler>>& Verbs()
{
    static const std::vector<std::pair<std::string, Handler>> verbs = {
        {"plug", Plug},       {"unplug", Unplug},   {"move", Move},     {"link", Link},   {"unlink", Link},
        {"battery", Battery}, {"notify", Notify},   {"press", Press},   {"fault", Fault}, {"latency", Latency},
        {"version", Version}, {"info", Info},       {"poke", Poke},     {"dump", Dump},   {"reset", Reset},
        {"log", Log},         {"state", State},     {"help", Help},     {"quit", Quit},
    };
    return verbs;
}

}  // namespace

ControlReply RunControlCommand(CDeviceSimulator& simulator, const std::string& line)
{
    std::istringstream stream(line);
    Words words;
    for (std::string word; stream >> word;)
        words.push_back(word);
    if (words.empty())
        return Ok("");
    for (const auto& [verb, handler] : Verbs()) {
        if (verb != words[0])
            continue;
        ControlReply reply = handler(simulator, words);
        while (!reply.text.empty() && reply.text.back() == '\n')
            reply.text.pop_back();
        return reply;
    }
    return Error("unknown command \"" + words[0] + "\"; try help");
}

std::string ControlHelp()
{
    return "plug|unplug <port>          ports: mouse-cable, mouse-receiver (receiver), keyboard, mousepad, headset; unplug all\n"
           "move mouse cable|receiver   the mouse changes connection (the receiver stays plugged)\n"
           "link | unlink               the mouse's radio link to its receiver\n"
           "battery <device> <level> [battery|charging|full]\n"
           "notify <device> <code>      e.g. notify mouse 0x0401\n"
           "press <device> profile <n>  the device's profile button; press mouse dpi <stage>; press mouse key (0x0403)\n"
           "fault <device> noreply [count] | status ff|fe <command> [nth] | wrongcmd | twice | close [nth] | clear\n"
           "latency <device> <ms>       reply delay\n"
           "version <device> <0xVVVV>   firmware version announced to new connections\n"
           "info <device> <field> <value>   magic, keys, macro-units, marker, sensor, dpi-step, dpi-max, dpi-base\n"
           "poke <device> <area> <offset> <hex bytes>\n"
           "dump <device> [area]        areas: info settings keys key-attributes key-colors macro recoil stream status headset-lights\n"
           "reset <device>              factory memories\n"
           "log <file>|-|off            traffic log\n"
           "state | help | quit\n"
           "devices: mouse, keyboard, mousepad, headset (port names work too)";
}

}  // namespace devsim
