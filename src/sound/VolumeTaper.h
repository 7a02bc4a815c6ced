#pragma once

// The volume of the slider and the players, 0..100, as the linear gain applied to the samples:
// a perceptual (logarithmic) taper, so that the middle of the slider sounds like half as loud
// rather than barely softer. 50 is -16.4 dB; 99 and 100 are unity gain; out-of-range volumes
// are held to 0..100.
namespace VolumeTaper {

float gain(int volume);

} // namespace VolumeTaper
