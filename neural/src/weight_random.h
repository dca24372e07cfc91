#pragma once

// Library-internal access to the random source behind initial weights, noise
// and pattern shuffling.
namespace nx_random {

// Reseeds from the calendar time unless the seed is fixed for the process.
void ReseedFromClock();
// Uniform 0..32767.
int Next15();
// +1 or -1 with equal probability, from its own draw.
int NextSign();

}  // namespace nx_random
