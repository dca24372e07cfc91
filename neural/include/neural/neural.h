#pragma once

/// @file neural.h
/// @brief Everything the neural library exports: every public header.

#include "neural/backprop_layer.h"
#include "neural/backprop_net.h"
#include "neural/check.h"
#include "neural/exceptions.h"
#include "neural/file.h"
#include "neural/fixed.h"
#include "neural/geometry.h"
#include "neural/layer.h"
#include "neural/message_error.h"
#include "neural/net.h"
#include "neural/node.h"
#include "neural/pattern.h"
#include "neural/random.h"
#include "neural/seed.h"
#include "neural/support.h"
#include "neural/td_layer.h"
#include "neural/td_node.h"
#include "neural/training_output.h"
#include "neural/types.h"
#include "neural/version.h"
#include "neural/warning.h"
