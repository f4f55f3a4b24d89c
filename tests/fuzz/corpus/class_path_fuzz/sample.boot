install_dir=C:\Program Files\Ledgrix
lib-classpath=lib\app.jar;classes\;b\\;
