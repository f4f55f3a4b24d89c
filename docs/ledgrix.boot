# Sample boot file of the Ledgrix launcher. Install it beside the bin folder
# that holds ledgrix.exe, as C:\Program Files\Ledgrix\ledgrix.boot, and change
# the values to the installation's folders.
#
# Plain 8-bit text (Latin-1) without a UTF-8 byte-order mark. One key=value
# per line, the = right after the key; keys are case-sensitive. Lines starting
# with # are ignored, and the last line of a key wins.

# The installation folder: the class path is relative to it, and the
# application runs in it. Absolute, or relative to this file's folder
# (install_dir=. is this folder), never to the current folder.
install_dir=C:\Program Files\Ledgrix

# The Java runtime's folder, the one holding bin\javaw.exe, absolute or
# relative as install_dir. Leave the value empty to use the javaw that the
# system finds on its search path.
jrehome=C:\Program Files\Ledgrix\jre

# Options for the Java runtime. Without -Xmx the launcher adds a heap limit of
# a quarter of the physical memory, at least 96 and at most 128 MiB: an -Xms
# above it keeps Java from starting, so set -Xmx with a larger -Xms.
default_options=-Xms32m -Dfile.encoding=UTF-8

# The application's jar files, relative to install_dir, each one followed by
# a semicolon (a single jar too).
lib-classpath=lib\ledgrix-app.jar;lib\ofx-reader.jar;
