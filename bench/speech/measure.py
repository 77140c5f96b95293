#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""How long espeak-ng's Russian voice, at its default rate, takes to say each kind of message the
window speaks, against the announcer's estimate (Announcer::spokenMs: 240 ms a syllable, a
digit two syllables, "%" three, 250 ms a pause). While the window plays by itself the next
message waits until the last can have been said, so the estimate must never fall short of the
voice: the script fails when it does.

    python3 bench/speech/measure.py          (needs espeak-ng)
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import wave

MS_PER_SYLLABLE = 240
MS_PER_PAUSE = 250
VOWELS = set("аеёиоуыэюяАЕЁИОУЫЭЮЯ")

# Each kind of message at its longest usual form.
MESSAGES = {
    "summary, hundreds": "150 партий: компьютер 52 %, ничьи 31 %",
    "summary, thousands": "3 тысячи партий: компьютер 55 %, ничьи 30 %",
    "summary, millions": "2 миллиона партий: компьютер 98 %, ничьи 2 %",
    "a later summary": "ещё 55 тысяч партий: компьютер 98 %, ничьи 2 %",
    "the old summary": "Сыграно 853564 партии: игрок 89310, компьютер 500000, ничьих 264254",
    "a move and its answer": "Клетка 3: крестик. Клетка 6: нолик",
    "a game's end": "Клетка 3: крестик. Клетка 6: нолик. Компьютер выиграл. Счёт. Игрок: 3, "
                    "компьютер: 5, ничья: 2",
    "a new game": "Партия: 12. Первым ходит компьютер. Клетка 5: нолик",
    "watching begins": "Окно само играет за «X»; F5 останавливает",
    "watching ends": "Окно больше не играет за «X»",
    "a refused digit": "Партия не начата: нажмите «играть» или F2",
    "the board (0)": "Ряд 1: крестик, пусто, нолик; Ряд 2: пусто, крестик, пусто; Ряд 3: нолик, "
                     "пусто, пусто. Ваш ход. Счёт: игрок 3, компьютер 1, ничьих 5",
    "a grade step": "Поражение: 5, высшая оценка",
}


def estimate(text):
    syllables = 0
    for c in text:
        if c in VOWELS:
            syllables += 1
        elif c.isdigit():
            syllables += 2
        elif c == "%":
            syllables += 3
        elif c.isascii() and c.isalpha():
            syllables += 1
    pauses = len(re.findall(r"[.,:;]", text))
    return MS_PER_SYLLABLE * syllables + MS_PER_PAUSE * pauses


def spoken(text, folder):
    path = os.path.join(folder, "speech.wav")
    subprocess.run(["espeak-ng", "-v", "ru", "-w", path, text], check=True)
    with wave.open(path) as audio:
        return 1000 * audio.getnframes() // audio.getframerate()


def main():
    if shutil.which("espeak-ng") is None:
        print("espeak-ng is missing (Debian package espeak-ng)", file=sys.stderr)
        return 2
    short = 0
    with tempfile.TemporaryDirectory() as folder:
        print(f"{'message':24} {'spoken ms':>9} {'estimate':>9}")
        for kind, text in MESSAGES.items():
            ms = spoken(text, folder)
            guess = estimate(text)
            flag = "" if guess >= ms else "  ESTIMATE TOO SHORT"
            short += guess < ms
            print(f"{kind:24} {ms:9d} {guess:9d}{flag}")
    return 1 if short else 0


if __name__ == "__main__":
    sys.exit(main())
