// What the install check needs of a window that xdotool cannot do: ask it to
// close as a window manager's close box does, read its class, read a pixel.
//
//   plumwit_x_window_tool close WINDOW
//   plumwit_x_window_tool class WINDOW      prints "instance class"
//   plumwit_x_window_tool pixel WINDOW X Y  prints the colour as rrggbb

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int CloseWindow(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  return 0;
}

int PrintClass(Display* display, Window window) {
  XClassHint hint{};
  if (!XGetClassHint(display, window, &hint)) return 1;
  std::printf("%s %s\n", hint.res_name, hint.res_class);
  XFree(hint.res_name);
  XFree(hint.res_class);
  return 0;
}

int PrintPixel(Display* display, Window window, int x, int y) {
  XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) return 1;
  const unsigned long pixel = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  XColor colour{};
  colour.pixel = pixel;
  XQueryColor(display, DefaultColormap(display, DefaultScreen(display)), &colour);
  std::printf("%02x%02x%02x\n", colour.red >> 8, colour.green >> 8, colour.blue >> 8);
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::string command = argc > 1 ? argv[1] : "";
  const bool known = (argc == 3 && (command == "close" || command == "class")) ||
                     (argc == 5 && command == "pixel");
  if (!known) {
    std::fprintf(stderr, "usage: %s close|class WINDOW, or pixel WINDOW X Y\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
    return 1;
  }
  const Window window = std::strtoul(argv[2], nullptr, 0);
  int status = 0;
  if (command == "close") status = CloseWindow(display, window);
  if (command == "class") status = PrintClass(display, window);
  if (command == "pixel")
    status = PrintPixel(display, window, std::atoi(argv[3]), std::atoi(argv[4]));
  XCloseDisplay(display);
  return status;
}
