#pragma once
// Every text a box of the launcher shows: what users report and support looks
// up, so each stays as it is, word for word.
#include <cstdint>

#include "text/wide_string.h"

// The fatal boxes' messages, and the steps they name.
inline constexpr WStringView kNoOwnExecutable = u"Unable to find the launcher's own executable";
inline constexpr WStringView kOwnExecutableStep = u"GetModuleFileName";
inline constexpr WStringView kCannotOpenBootFile = u"Unable to open file: ";
inline constexpr WStringView kBootFileStep = u"parseConfigFile";
inline constexpr WStringView kNoInstallDirectory = u"Could not find installation directory at:\n";
inline constexpr WStringView kNoJre = u"Could not find JRE at:\n\n";
inline constexpr WStringView kNoClassPath = u"Application classpath is missing\n";
inline constexpr WStringView kLaunchCheckStep = u"ledgrix launcher";
// Stands in for the text the system lacks, so the box keeps its shape.
inline constexpr WStringView kNoSystemText = u"(the system has no description for this error)\r\n";

// The fatal box: the message, the step that failed, the code as a signed
// number and the system's text for it, then the advice.
WString FatalText(WStringView message, WStringView step, uint32_t code, WStringView system_text);

// The box of a Java runtime that could not be started, the code as a signed
// number.
WString JavaNotStartedText(uint32_t code);
