"""Loudness arithmetic on recorded samples (signed 16-bit mono, as parec delivers them)."""

import array
import math

RATE = 44100
SILENCE_DBFS = -120.0  # what digital silence reads as, instead of minus infinity


def samples_from_bytes(data):
    samples = array.array("h")
    samples.frombytes(bytes(data[: len(data) - len(data) % 2]))
    return samples


def rms_dbfs(samples, start_s=0.0, end_s=None, rate=RATE):
    """RMS level of samples[start_s:end_s] in dB relative to a full-scale square wave."""
    first = max(0, int(start_s * rate))
    last = len(samples) if end_s is None else min(len(samples), int(end_s * rate))
    if last <= first:
        return SILENCE_DBFS
    total = 0
    for i in range(first, last):
        total += samples[i] * samples[i]
    mean = total / (last - first) / (32768.0 * 32768.0)
    if mean <= 0:
        return SILENCE_DBFS
    return max(SILENCE_DBFS, 10.0 * math.log10(mean))


def loudness(samples, window_s=0.1, rate=RATE):
    """Loudness over time: a list of (start second, RMS dBFS) for consecutive windows."""
    step = max(1, int(window_s * rate))
    return [(i / rate, rms_dbfs(samples, i / rate, (i + step) / rate, rate))
            for i in range(0, len(samples) - step + 1, step)]


def sounding_seconds(samples, threshold_dbfs=-60.0, window_s=0.1, rate=RATE):
    """How long, in seconds, the recording is louder than threshold_dbfs."""
    return sum(window_s for _, level in loudness(samples, window_s, rate) if level > threshold_dbfs)
