# GLib's own reader and writer of the desktop's recent-files list
# (GBookmarkFile, used by GTK file dialogs and file managers), through ctypes.
#   glib-bookmarks.py add LIST URI APP EXEC MIME   adds an entry as another program would
#   glib-bookmarks.py read LIST [APP]              prints URI, MIME type and applications of every entry,
#                                                  then APP's command and count for each entry that has it
import ctypes
import sys

glib = ctypes.CDLL("libglib-2.0.so.0")
glib.g_bookmark_file_new.restype = ctypes.c_void_p
glib.g_bookmark_file_get_uris.restype = ctypes.POINTER(ctypes.c_char_p)
glib.g_bookmark_file_get_applications.restype = ctypes.POINTER(ctypes.c_char_p)
glib.g_bookmark_file_get_mime_type.restype = ctypes.c_char_p
error = ctypes.c_void_p()


def check(ok, what):
    if not ok:
        sys.exit("GLib could not " + what)


def strings(array):
    out, i = [], 0
    while array and array[i]:
        out.append(array[i].decode())
        i += 1
    return out


b = ctypes.c_void_p(glib.g_bookmark_file_new())
command, path = sys.argv[1], sys.argv[2].encode()
if command == "add":
    uri, app, exec_, mime = (a.encode() for a in sys.argv[3:7])
    glib.g_bookmark_file_add_application(b, uri, app, exec_)
    glib.g_bookmark_file_set_mime_type(b, uri, mime)
    check(glib.g_bookmark_file_to_file(b, path, ctypes.byref(error)), "write the list")
else:
    check(glib.g_bookmark_file_load_from_file(b, path, ctypes.byref(error)), "read the list")
    uris = strings(glib.g_bookmark_file_get_uris(b, None))
    for uri in sorted(uris):
        apps = strings(glib.g_bookmark_file_get_applications(b, uri.encode(), None, None))
        print(uri, glib.g_bookmark_file_get_mime_type(b, uri.encode(), None).decode(), sorted(apps))
    if len(sys.argv) > 3:
        for uri in sorted(uris):
            exec_, count, stamp = ctypes.c_char_p(), ctypes.c_uint(), ctypes.c_long()
            if glib.g_bookmark_file_get_application_info(b, uri.encode(), sys.argv[3].encode(), ctypes.byref(exec_),
                                                          ctypes.byref(count), ctypes.byref(stamp), None):
                print(sys.argv[3], exec_.value.decode(), count.value)
