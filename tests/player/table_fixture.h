#pragma once

#include <memory>
#include <string>

#include "game/deck.h"
#include "game/game_flow.h"
#include "game/headless_presentation.h"
#include "game/score_record.h"
#include "player/computer_play.h"
#include "player/scripted_player.h"
#include "player/table_objects.h"
#include "scratch/scratch_installation.h"

// The recording presentation comes first, so that it outlives the table.
struct HeadlessView {
  HeadlessPresentation View;
};

// A whole table without a window: the flow, the deck, the score record, a
// recording presentation and the computer player.
struct HeadlessTable : HeadlessView, TableObjects {
  explicit HeadlessTable(uint32_t level = 0, uint32_t variation = STANDARD_GIN, bool elevenTen = false,
                         int32_t seed = 4242);
};

// Checks that every card lies in exactly one pile and the hand sizes fit
// the play state; returns a description of the first problem, or "".
std::string CheckTable(const GameFlow& flow, const GameState& state, const NxDeck& deck);
