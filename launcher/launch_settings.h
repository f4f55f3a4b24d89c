#pragma once
// The process-wide launch settings: four values from the boot file and three
// derived from them before the launch. Values keep their whole text: nothing is
// cut to a fixed capacity, so no value ever names a different path than the
// boot file does.
#include "platform/wide.h"

struct LaunchSettings {
  WString java_home;
  WString class_path;
  WString default_options;
  WString jrehome;
  WString install_dir;
  WString lib_classpath;
  bool use_jrehome = false;
};
