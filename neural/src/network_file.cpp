#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "backprop_plan.h"
#include "neural/backprop_net.h"
#include "neural/file.h"

namespace {

// Indexed by command number.
const char* const commandWords[NxNeuralNet::CMD_COUNT] = {
    "TARGET",
    "LAYER",
    "NODES",
    "NODETYPE",
    "X-DIMENSION",
    "Y-DIMENSION",
    "LEARN-RATE",
    "MOMENTUM",
    "PATTERN-X-DIMENSION",
    "PATTERN-Y-DIMENSION",
    "X-OVERLAP",
    "Y-OVERLAP",
    "GLOBAL-LEARN-RATE",
    "SCALE-FACTOR",
    "GLOBAL-MOMENTUM",
};

int CommandNumber(const char* word) {
  for (int i = 0; i < NxNeuralNet::CMD_COUNT; ++i)
    if (std::strcmp(word, commandWords[i]) == 0) return i;
  return NxNeuralNet::CMD_EOF;
}

bool IsEndOfGroup(int command) {
  return command == NxNeuralNet::CMD_LAYER || command == NxNeuralNet::CMD_TARGET || command == NxNeuralNet::CMD_EOF;
}

}  // namespace

NxNeuralNet::NxNeuralNet(const char* fileName) : NxNeuralBase() {
  NxFile file(fileName, "rt", true);
  SpecFile = &file;
  SpecFileName = fileName;
  while (ReadLayerBlock()) {
  }
  SpecFile = nullptr;
  BuildNetwork("LAYER %u has input LAYER 0 as a target.\n\t\t\t\t\nConnection will be ignored.",
               "Network specification file has no output layer.\n\t\t\t\nOutput layer must be LAYER 1.");
  SetOutputTolerance(0.00001);
  file.FClose();
}

void NxNeuralNet::Fail(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vsnprintf(ErrorText, TEXT_SIZE, format, args);
  va_end(args);
  throw XCMessage(ErrorText);
}

const char* NxNeuralNet::GetCommandString(int command) const {
  if (command < 0 || command >= CMD_COUNT) return "UNKNOWN";
  return commandWords[command];
}

// Lines longer than the buffer arrive in pieces, each read as a line of its
// own. Lines that are not "WORD : number" are skipped; an unknown WORD warns.
int NxNeuralNet::ReadCommand() {
  if (SpecPushedBack) {
    SpecPushedBack = false;
    return static_cast<int>(SpecCommand);
  }
  while (SpecFile->FGets(SpecText, SPEC_LINE_SIZE)) {
    if (SpecLineEnded) ++SpecLineNumber;
    size_t length = std::strlen(SpecText);
    SpecLineEnded = length > 0 && SpecText[length - 1] == '\n';
    char word[SPEC_LINE_SIZE];
    double value;
    if (std::sscanf(SpecText, "%79s : %lf", word, &value) != 2) continue;
    int command = CommandNumber(word);
    if (command == CMD_EOF) {
      // A misspelt word would otherwise leave its layer with defaults unsaid.
      Warn("Unknown command %s found in line %u of %s.  Command ignored.", word, SpecLineNumber,
           SpecFileName.c_str());
      continue;
    }
    SpecCommand = static_cast<unsigned>(command);
    SpecValue = value;
    return command;
  }
  SpecText[0] = '\0';
  SpecCommand = static_cast<unsigned>(CMD_EOF);
  return CMD_EOF;
}

void NxNeuralNet::PushBackCommand() { SpecPushedBack = true; }

bool NxNeuralNet::ReadLayerBlock() {
  int command;
  while ((command = ReadCommand()) != CMD_LAYER) {
    if (command == CMD_EOF) return false;
    Warn("Spurious %s command found outside of LAYER specification.  Command ignored.", GetCommandString(command));
  }
  IsValidLayer(SpecValue);
  SpecLayer = static_cast<unsigned>(SpecValue);
  LayerDeclared[SpecLayer] = true;
  ReadRateLines();
  unsigned nodes = ReadNodesLine();
  TSize grid = ReadDimensions(nodes);
  NODETYPE type = ReadNodeType();
  Config.AddLayer(SpecLayer, grid, type);
  ReadTargetGroups();
  return true;
}

// The rates are checked so that mistakes are reported; the network's rates
// come from the standard learning set-up.
void NxNeuralNet::ReadRateLines() {
  for (;;) {
    int command = ReadCommand();
    if (command == CMD_LEARN_RATE) {
      IsValidLearningRate(SpecValue);
    } else if (command == CMD_MOMENTUM) {
      IsValidMomentum(SpecValue);
    } else if (command == CMD_GLOBAL_LEARN_RATE || command == CMD_SCALE_FACTOR || command == CMD_GLOBAL_MOMENTUM) {
      Warn("Spurious %s command found in the middle of a LAYER specification.  Command ignored.",
           GetCommandString(command));
    } else {
      PushBackCommand();
      return;
    }
  }
}

unsigned NxNeuralNet::ReadNodesLine() {
  for (;;) {
    int command = ReadCommand();
    if (command == CMD_LAYER || command == CMD_EOF) Fail("Unable to find NODES specification for Layer %u", SpecLayer);
    if (command != CMD_NODES)
      Warn("Spurious %s command found before NODES specification.  Command ignored.", GetCommandString(command));
    else if (IsUnsignedInteger(SpecValue))
      break;
  }
  if (SpecValue < 1 || SpecValue > MAX_LAYER_NODES)
    Fail("NODES specification for Layer %u must lie in the range 1 - %u", SpecLayer, MAX_LAYER_NODES);
  return static_cast<unsigned>(SpecValue);
}

TSize NxNeuralNet::ReadDimensions(unsigned nodes) {
  double width = nodes;
  double height = 1;
  int command;
  while (!IsEndOfGroup(command = ReadCommand()) && command != CMD_NODETYPE) {
    if (command != CMD_X_DIMENSION && command != CMD_Y_DIMENSION)
      Warn("Spurious %s command found in the middle of a NODES specification.  Command ignored.",
           GetCommandString(command));
    else if (IsUnsignedInteger(SpecValue))
      (command == CMD_X_DIMENSION ? width : height) = SpecValue;
  }
  PushBackCommand();
  // Both factors are below 2^32, so the double product is exact.
  if (width * height != nodes) Fail("X,Y dimensions inconsistent with the number of nodes in layer %d", SpecLayer);
  return TSize{static_cast<int32_t>(width), static_cast<int32_t>(height)};
}

NODETYPE NxNeuralNet::ReadNodeType() {
  NODETYPE type = SIGMOID;
  int command;
  while (!IsEndOfGroup(command = ReadCommand())) {
    if (command != CMD_NODETYPE)
      Warn("Spurious %s command found in the middle of a LAYER specification.  Command ignored.",
           GetCommandString(command));
    else if (IsValidNodeType(SpecValue))
      type = static_cast<NODETYPE>(SpecValue);
  }
  PushBackCommand();
  return type;
}

void NxNeuralNet::ReadTargetGroups() {
  int command;
  while ((command = ReadCommand()) != CMD_LAYER && command != CMD_EOF) {
    if (command != CMD_TARGET) {
      Warn("Spurious %s command found in the middle of a TARGET specification.  Command ignored.",
           GetCommandString(command));
      continue;
    }
    // The lines of a group whose TARGET was not a whole number are read as
    // stray lines and warned about one by one.
    if (!IsUnsignedInteger(SpecValue)) continue;
    if (SpecValue > MAX_LAYERS - 1) {
      Warn("TARGET LAYER specified in %s of LAYER %u is out of range.  Allowed target layers must be in the range "
           "0 - %u.  Command ignored.",
           SpecText, SpecLayer, MAX_LAYERS - 1);
      SkipTargetGroup();
      continue;
    }
    SpecTarget = static_cast<unsigned>(SpecValue);
    ReadConnection();
  }
  PushBackCommand();
}

// The lines of a TARGET group that names no layer go with it.
void NxNeuralNet::SkipTargetGroup() {
  while (!IsEndOfGroup(ReadCommand())) {
  }
  PushBackCommand();
}

void NxNeuralNet::ReadConnection() {
  TSize pattern = Config.GetLayerSize(SpecLayer);
  TSize step{0, 0};
  int command = ReadCommand();
  if (command == CMD_PATTERN_X_DIMENSION) {
    if (IsValidPatternDimension(SpecValue, unsigned(pattern.cx))) pattern.cx = static_cast<int32_t>(SpecValue);
    command = ReadCommand();
    if (command != CMD_PATTERN_Y_DIMENSION)
      Fail("Spurious %s command in the middle of a PATTERN specification.  Expected a PATTERN-Y-DIMENSION command.",
           GetCommandString(command));
    if (IsValidPatternDimension(SpecValue, unsigned(pattern.cy))) pattern.cy = static_cast<int32_t>(SpecValue);
    step = pattern;
    ReadOverlapLines(step, pattern);
  } else if (IsEndOfGroup(command)) {
    PushBackCommand();
  } else {
    Fail("Spurious %s command in the middle of a PATTERN specification.  Expected a PATTERN-X-DIMENSION command.",
         GetCommandString(command));
  }
  Config.AddMapping(SpecLayer, SpecTarget, pattern, step, TSize{0, 0}, 0);
}

// An overlap as large as the field would leave the fields in one place, and
// a larger one would move them backwards: the step stays at least 1.
void NxNeuralNet::ReadOverlapLines(TSize& step, const TSize& pattern) {
  int command;
  while (!IsEndOfGroup(command = ReadCommand())) {
    if (command != CMD_X_OVERLAP && command != CMD_Y_OVERLAP) {
      Warn("Spurious %s command found in the middle of a pattern OVERLAP specification.  Command ignored.",
           GetCommandString(command));
      continue;
    }
    if (!IsUnsignedInteger(SpecValue)) continue;
    int32_t& axis = command == CMD_X_OVERLAP ? step.cx : step.cy;
    int32_t size = command == CMD_X_OVERLAP ? pattern.cx : pattern.cy;
    if (SpecValue >= axis)
      Warn("%s specified in %s of LAYER %u must be smaller than the pattern dimension %d.  Command ignored.",
           GetCommandString(command), SpecText, SpecLayer, size);
    else
      axis -= static_cast<int32_t>(SpecValue);
  }
  PushBackCommand();
}

void NxNeuralNet::ReadGlobalValues(NxFile& file) {
  SpecFile = &file;
  SpecFileName = file.GetFileName();
  SpecPushedBack = false;
  SpecLineNumber = 0;
  SpecLineEnded = true;
  int command;
  while ((command = ReadCommand()) != CMD_LAYER) {
    if (command == CMD_EOF) {
      SpecFile = nullptr;
      Fail("No network specifications found in file %s", SpecFileName.c_str());
    }
    if (command == CMD_GLOBAL_LEARN_RATE || command == CMD_GLOBAL_MOMENTUM) {
      const bool rate = command == CMD_GLOBAL_LEARN_RATE;
      const double limit = rate ? 10.0 : 2.0;
      if (SpecValue >= 0 && SpecValue <= limit)
        (rate ? GlobalLearnRate : GlobalMomentum) = SpecValue;
      else
        Warn("%s specification is not in the allowed range 0 - %lf.  Command Ignored.", SpecText, limit);
    } else {
      Warn("Spurious %s command found outside of LAYER specification.  Command ignored.", GetCommandString(command));
    }
  }
  SpecFile = nullptr;
}
