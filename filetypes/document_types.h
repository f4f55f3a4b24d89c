#pragma once
// The shell's registration of the four financial document types, written
// again at every start so that opening such a document runs the executable
// started last.
#include <vector>

#include "base/system_values.h"

// For OFX, OFC, QIF and OFF, in this order: the extension key naming the
// type, the extension's open command, the type key (empty), its icon (the
// executable's first icon group) and its open command, whose value "command"
// then goes. The open command is the executable, quoted when it holds a
// blank, then -I and the quoted document placeholder.
std::vector<RegistryWrite> DocumentTypeWrites(WStringView executable_path);
