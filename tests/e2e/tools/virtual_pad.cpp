// A gamepad for the end-to-end tests, played from a script:
//
//   virtual_pad uinput DIR   a pad made by the kernel's uinput, as a plugged-in pad appears
//   virtual_pad fifo DIR     a pad that speaks the kernel's joystick protocol through the FIFO
//                            DIR/pad, which SDL reads when SDL_JOYSTICK_DEVICE names it
//
// It writes the device SDL is to read into DIR/pad.device once the pad exists (or "none: why"
// when it cannot be made), then takes commands, one a line, from the FIFO DIR/pad.commands:
//
//   axis N VALUE      axis N at VALUE (-32767 to 32767)
//   button N 0|1      button N up or down
//   unplug            the pad goes away, as a pulled cable takes it
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#ifdef __linux__
#include <linux/input.h>
#include <linux/uinput.h>
#include <sys/ioctl.h>
#endif

namespace {

std::string dir;

void report(const std::string& what)
{
    const std::string path = dir + "/pad.device", part = path + ".part";
    std::ofstream(part) << what << "\n";
    std::rename(part.c_str(), path.c_str());
}

// The kernel's joystick event (linux/joystick.h), written as the joystick driver writes it.
struct JsEvent {
    uint32_t time;
    int16_t value;
    uint8_t type;
    uint8_t number;
};

class Pad {
public:
    virtual ~Pad() = default;
    virtual bool axis(int n, int value) = 0;
    virtual bool button(int n, bool down) = 0;
    virtual void unplug() = 0;
};

class FifoPad : public Pad {
public:
    bool open_fifo()
    {
        path = dir + "/pad";
        if (mkfifo(path.c_str(), 0600) != 0 && errno != EEXIST) return false;
        report(path);
        // Waits here until the game opens the pad.
        fd = open(path.c_str(), O_WRONLY);
        return fd >= 0;
    }
    bool axis(int n, int value) override { return send(0x02, n, value); }
    bool button(int n, bool down) override { return send(0x01, n, down ? 1 : 0); }
    void unplug() override
    {
        unlink(path.c_str());
        if (fd >= 0) close(fd);
        fd = -1;
    }

private:
    bool send(uint8_t type, int n, int value)
    {
        JsEvent e{++ms, static_cast<int16_t>(value), type, static_cast<uint8_t>(n)};
        return fd >= 0 && write(fd, &e, sizeof e) == static_cast<ssize_t>(sizeof e);
    }
    std::string path;
    int fd = -1;
    uint32_t ms = 0;
};

#ifdef __linux__
class UinputPad : public Pad {
public:
    std::string make()
    {
        fd = open("/dev/uinput", O_WRONLY | O_NONBLOCK);
        if (fd < 0) return std::string("none: /dev/uinput cannot be opened: ") + std::strerror(errno);
        ioctl(fd, UI_SET_EVBIT, EV_KEY);
        ioctl(fd, UI_SET_EVBIT, EV_ABS);
        for (int b : {BTN_A, BTN_B, BTN_X, BTN_Y, BTN_TL, BTN_TR, BTN_SELECT, BTN_START}) ioctl(fd, UI_SET_KEYBIT, b);
        for (int a : {ABS_X, ABS_Y}) ioctl(fd, UI_SET_ABSBIT, a);
        uinput_user_dev dev = {};
        std::snprintf(dev.name, sizeof dev.name, "Moorhold test pad");
        dev.id.bustype = BUS_USB;
        dev.id.vendor = 0x1234;
        dev.id.product = 0x5678;
        for (int a : {ABS_X, ABS_Y}) {
            dev.absmin[a] = -32767;
            dev.absmax[a] = 32767;
        }
        if (write(fd, &dev, sizeof dev) != static_cast<ssize_t>(sizeof dev) || ioctl(fd, UI_DEV_CREATE) < 0)
            return std::string("none: uinput refused the pad: ") + std::strerror(errno);
        char name[64] = {};
        if (ioctl(fd, UI_GET_SYSNAME(sizeof name), name) < 0) return "none: the pad's device has no name";
        // The device node appears under /dev/input once the kernel (or udev) has made it.
        const std::string sys = std::string("/sys/devices/virtual/input/") + name;
        for (int i = 0; i < 200; ++i) {
            for (int n = 0; n < 64; ++n) {
                const std::string node = "/dev/input/event" + std::to_string(n);
                struct stat st;
                if (access((sys + "/event" + std::to_string(n)).c_str(), F_OK) == 0 && stat(node.c_str(), &st) == 0)
                    return node;
            }
            usleep(10000);
        }
        return "none: the kernel made the pad but no /dev/input node for it";
    }
    bool axis(int n, int value) override { return emit(EV_ABS, n == 0 ? ABS_X : ABS_Y, value); }
    bool button(int n, bool down) override
    {
        const int buttons[] = {BTN_A, BTN_B, BTN_X, BTN_Y, BTN_TL, BTN_TR, BTN_SELECT, BTN_START};
        return n >= 0 && n < 8 && emit(EV_KEY, buttons[n], down ? 1 : 0);
    }
    void unplug() override
    {
        if (fd >= 0) ioctl(fd, UI_DEV_DESTROY);
        if (fd >= 0) close(fd);
        fd = -1;
    }

private:
    bool emit(int type, int code, int value)
    {
        input_event e[2] = {};
        e[0].type = static_cast<__u16>(type);
        e[0].code = static_cast<__u16>(code);
        e[0].value = value;
        e[1].type = EV_SYN;
        e[1].code = SYN_REPORT;
        return fd >= 0 && write(fd, e, sizeof e) == static_cast<ssize_t>(sizeof e);
    }
    int fd = -1;
};
#endif

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: virtual_pad uinput|fifo DIR\n");
        return 2;
    }
    signal(SIGPIPE, SIG_IGN);
    const std::string mode = argv[1];
    dir = argv[2];
    const std::string commands = dir + "/pad.commands";
    if (mkfifo(commands.c_str(), 0600) != 0 && errno != EEXIST) return 1;

    Pad* pad = nullptr;
    FifoPad fifo;
#ifdef __linux__
    UinputPad uinput;
    if (mode == "uinput") {
        const std::string node = uinput.make();
        report(node);
        if (node.rfind("none", 0) == 0) return 0;
        pad = &uinput;
    }
#endif
    if (mode == "fifo") {
        if (!fifo.open_fifo()) return 1;
        pad = &fifo;
    }
    if (!pad) {
        report("none: no such pad: " + mode);
        return 0;
    }
    // Each writer of the script sends a line or more and closes: read them until "unplug".
    for (;;) {
        std::ifstream in(commands);
        for (std::string verb; in >> verb;) {
            int n = 0, value = 0;
            if (verb == "unplug") {
                pad->unplug();
                return 0;
            }
            if (!(in >> n >> value)) break;
            const bool ok = verb == "axis" ? pad->axis(n, value) : verb == "button" && pad->button(n, value != 0);
            if (!ok) std::fprintf(stderr, "virtual_pad: \"%s %d %d\" did not reach the game\n", verb.c_str(), n, value);
        }
    }
}
