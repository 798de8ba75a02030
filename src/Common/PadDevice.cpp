#include "Common/PadDevice.h"

#include <cstdio>
#include <set>
#include <string>

#ifdef __linux__
#include <dirent.h>
#include <poll.h>
#include <cstdlib>
#endif

namespace {

SDL_Joystick* pad = nullptr;
std::string name;
int device_fd = -1; // the device SDL reads, where it can be found; -1 otherwise

#ifdef __linux__
std::set<int> open_descriptors()
{
    std::set<int> fds;
    if (DIR* d = opendir("/proc/self/fd")) {
        // The listing's own descriptor is not one of them.
        const int own = dirfd(d);
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.' && std::atoi(e->d_name) != own) fds.insert(std::atoi(e->d_name));
        closedir(d);
    }
    return fds;
}

// The one descriptor that opening the pad added, or -1 when it cannot be told.
int descriptor_opened(const std::set<int>& before, const std::set<int>& after)
{
    int found = -1;
    for (int fd : after)
        if (!before.count(fd)) {
            if (found >= 0) return -1;
            found = fd;
        }
    return found;
}

bool device_gone(int fd)
{
    if (fd < 0) return false;
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
}
#endif

} // namespace

bool open_first_pad()
{
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0 || SDL_NumJoysticks() < 1) {
        std::printf("no gamepad: the keyboard steers\n");
        return false;
    }
#ifdef __linux__
    const std::set<int> before = open_descriptors();
#endif
    pad = SDL_JoystickOpen(0);
    if (!pad) {
        std::printf("the gamepad could not be opened (%s): the keyboard steers\n", SDL_GetError());
        return false;
    }
#ifdef __linux__
    device_fd = descriptor_opened(before, open_descriptors());
#endif
    SDL_JoystickEventState(SDL_ENABLE);
    const char* n = SDL_JoystickName(0);
    name = n ? n : "";
    std::printf("gamepad: %s, %d axes, %d hats, %d buttons\n", name.c_str(), SDL_JoystickNumAxes(pad),
                SDL_JoystickNumHats(pad), SDL_JoystickNumButtons(pad));
    return true;
}

bool read_pad(PadReading& out)
{
    out = PadReading();
    if (!pad) return false;
#ifdef __linux__
    if (device_gone(device_fd)) {
        std::printf("the gamepad is gone: the keyboard steers\n");
        close_pad();
        return false;
    }
#endif
    const int axes = SDL_JoystickNumAxes(pad), hats = SDL_JoystickNumHats(pad);
    for (int i = 0; i < axes && i < PadReading::kMaxAxes; ++i) out.axes[i] = SDL_JoystickGetAxis(pad, i);
    for (int i = 0; i < hats && i < PadReading::kMaxHats; ++i) out.hats[i] = SDL_JoystickGetHat(pad, i);
    return true;
}

bool pad_connected() { return pad != nullptr; }

std::string pad_name() { return name; }

void close_pad()
{
    if (pad) SDL_JoystickClose(pad);
    pad = nullptr;
    device_fd = -1;
}
