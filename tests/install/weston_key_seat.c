/* A keyboard for weston's headless compositor, loaded with --modules.
 *
 * The headless backend has no input devices, and weston offers no protocol
 * through which a client could type (wtype's virtual keyboard is refused),
 * so the end-to-end test under Wayland gives the compositor a seat of its
 * own: key presses arrive from the test through a pipe and reach the
 * program the way a real keyboard's do, through the compositor's focus and
 * wl_keyboard, with nothing in the program itself that serves the test.
 *
 * QUORLA_KEY_PIPE names a FIFO; each line holds evdev key codes, "+30"
 * pressing one and "-30" releasing it. QUORLA_KEY_FOCUS names a file that
 * gets the title of each window given the keyboard, one a line (an empty
 * line when none has it), which is how the test knows a window or a box is
 * up.
 */
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include <libweston-desktop/libweston-desktop.h>
#include <libweston/libweston.h>

/* Exported by libweston 10 for its backends; the header that declares them
 * (libweston/backend.h) is not installed. */
void weston_seat_init(struct weston_seat *seat, struct weston_compositor *ec, const char *seat_name);
int weston_seat_init_keyboard(struct weston_seat *seat, struct xkb_keymap *keymap);
void weston_seat_release(struct weston_seat *seat);
void notify_key(struct weston_seat *seat, const struct timespec *time, uint32_t key,
                enum wl_keyboard_key_state state, enum weston_key_state_update update_state);

struct key_seat {
	struct weston_seat seat;
	struct wl_event_source *source;
	int pipe;
	FILE *focus_log;
	char line[1024];
	size_t used;
	struct wl_listener focus;
	struct wl_listener destroy;
};

static void press_keys(struct key_seat *keys, char *line)
{
	char *save = NULL;
	for (char *word = strtok_r(line, " \t", &save); word; word = strtok_r(NULL, " \t", &save)) {
		char *end = NULL;
		const long code = strtol(word + 1, &end, 10);
		if ((word[0] != '+' && word[0] != '-') || *end != '\0' || code <= 0 || code > 0x2ff) {
			weston_log("key seat: not a key: %s\n", word);
			continue;
		}
		struct timespec now;
		weston_compositor_get_time(&now);
		notify_key(&keys->seat, &now, (uint32_t)code,
		           word[0] == '+' ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED,
		           STATE_UPDATE_AUTOMATIC);
	}
}

static int pipe_readable(int fd, uint32_t mask, void *data)
{
	struct key_seat *keys = data;
	(void)mask;
	const ssize_t got = read(fd, keys->line + keys->used, sizeof keys->line - 1 - keys->used);
	if (got <= 0)
		return 0;
	keys->used += (size_t)got;
	keys->line[keys->used] = '\0';
	char *start = keys->line, *newline;
	while ((newline = strchr(start, '\n'))) {
		*newline = '\0';
		press_keys(keys, start);
		start = newline + 1;
	}
	keys->used -= (size_t)(start - keys->line);
	memmove(keys->line, start, keys->used);
	/* A line longer than the buffer is no line of the test's. */
	if (keys->used == sizeof keys->line - 1)
		keys->used = 0;
	return 0;
}

static void focus_changed(struct wl_listener *listener, void *data)
{
	struct key_seat *keys = wl_container_of(listener, keys, focus);
	struct weston_keyboard *keyboard = data;
	const char *title = NULL;
	if (keyboard->focus && weston_surface_is_desktop_surface(keyboard->focus))
		title = weston_desktop_surface_get_title(weston_surface_get_desktop_surface(keyboard->focus));
	fprintf(keys->focus_log, "%s\n", title ? title : "");
	fflush(keys->focus_log);
}

static void free_key_seat(struct key_seat *keys)
{
	if (keys->pipe >= 0)
		close(keys->pipe);
	if (keys->focus_log)
		fclose(keys->focus_log);
	free(keys);
}

static void compositor_destroyed(struct wl_listener *listener, void *data)
{
	struct key_seat *keys = wl_container_of(listener, keys, destroy);
	(void)data;
	wl_list_remove(&keys->destroy.link);
	wl_list_remove(&keys->focus.link);
	if (keys->source)
		wl_event_source_remove(keys->source);
	weston_seat_release(&keys->seat);
	free_key_seat(keys);
}

WL_EXPORT int wet_module_init(struct weston_compositor *compositor, int *argc, char *argv[])
{
	(void)argc;
	(void)argv;
	const char *pipe_path = getenv("QUORLA_KEY_PIPE"), *focus_path = getenv("QUORLA_KEY_FOCUS");
	if (!pipe_path || !focus_path) {
		weston_log("key seat: QUORLA_KEY_PIPE and QUORLA_KEY_FOCUS must name a FIFO and a file\n");
		return -1;
	}
	struct key_seat *keys = calloc(1, sizeof *keys);
	if (!keys)
		return -1;
	keys->pipe = -1;
	/* Opened for writing as well, so that the pipe never reads as ended
	 * (and never wakes the loop for nothing) between two writers. */
	keys->pipe = open(pipe_path, O_RDWR | O_NONBLOCK | O_CLOEXEC);
	keys->focus_log = fopen(focus_path, "we");
	if (keys->pipe < 0 || !keys->focus_log) {
		weston_log("key seat: cannot open %s or %s: %s\n", pipe_path, focus_path, strerror(errno));
		free_key_seat(keys);
		return -1;
	}
	weston_seat_init(&keys->seat, compositor, "default");
	if (weston_seat_init_keyboard(&keys->seat, NULL) < 0) {
		weston_seat_release(&keys->seat);
		free_key_seat(keys);
		return -1;
	}
	keys->focus.notify = focus_changed;
	wl_signal_add(&weston_seat_get_keyboard(&keys->seat)->focus_signal, &keys->focus);
	keys->destroy.notify = compositor_destroyed;
	wl_signal_add(&compositor->destroy_signal, &keys->destroy);
	keys->source = wl_event_loop_add_fd(wl_display_get_event_loop(compositor->wl_display), keys->pipe,
	                                    WL_EVENT_READABLE, pipe_readable, keys);
	if (!keys->source) {
		weston_log("key seat: cannot watch %s\n", pipe_path);
		return -1;
	}
	weston_log("key seat: reading key presses from %s\n", pipe_path);
	return 0;
}
