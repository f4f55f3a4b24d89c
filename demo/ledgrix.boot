# Boot file of the demo installation. The demo copies this folder to
# C:\Ledgrix Demo inside its own Wine prefix and the launcher to its bin folder.
install_dir="C:\Ledgrix Demo"
jrehome=C:\Ledgrix Demo\jre
default_options=-Xms32m -Dfile.encoding=UTF-8
lib-classpath=lib\ledgrix-app.jar;lib\ofx-reader.jar;
