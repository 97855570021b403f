#!/usr/bin/env python3
"""The translation rules of tools/make_settings_default.py, on small fixtures, and the
shipped Spanish texts against the English ones.

usage: settings_texts_test.py SOURCE_DIR"""
import os
import sys
import unittest

SOURCE_DIR = sys.argv.pop(1)
sys.path.insert(0, os.path.join(SOURCE_DIR, "tools"))
import make_settings_default as gen  # noqa: E402

ENGLISH = ["; a comment", "IconSize1=32", "LocalLogout=Log Off %s...",
           "LocalItemsFound=%i items found", "LocalTwo=%s has %i", "LocalRun=Run..."]
GOOD = {"LocalLogout": "Cerrar la sesión de %s...", "LocalItemsFound": "Se encontraron %i elementos",
        "LocalTwo": "%s tiene %i", "LocalRun": "Ejecutar..."}


def translation(**changes):
    texts = dict(GOOD, **changes)
    return ["%s=%s" % (k, v) for k, v in texts.items() if v is not None]


class Merge(unittest.TestCase):
    def test_texts_replace_the_english_ones_and_nothing_else(self):
        merged = gen.merge_texts(ENGLISH, ["; note", ""] + translation())
        self.assertEqual(merged, ["; a comment", "IconSize1=32", "LocalLogout=Cerrar la sesión de %s...",
                                  "LocalItemsFound=Se encontraron %i elementos",
                                  "LocalTwo=%s tiene %i", "LocalRun=Ejecutar..."])

    def test_faults_stop_the_build(self):
        cases = [
            ("missing key", translation(LocalRun=None), "LocalRun has no translation"),
            ("unknown key", translation() + ["LocalRunn=Ejecutar"], "LocalRunn"),
            ("lost %s", translation(LocalLogout="Cerrar la sesión..."), "LocalLogout"),
            ("%i became %s", translation(LocalItemsFound="Se encontraron %s elementos"),
             "LocalItemsFound"),
            ("order swapped", translation(LocalTwo="%i tiene %s"), "LocalTwo"),
            ("extra placeholder", translation(LocalRun="Ejecutar %s"), "LocalRun"),
            ("given twice", translation() + ["LocalRun=Otra vez"], "twice"),
            ("not a text line", translation() + ["IconSize1=16"], "IconSize1"),
        ]
        for name, lines, message in cases:
            with self.subTest(name):
                with self.assertRaises(gen.TextsError) as caught:
                    gen.merge_texts(ENGLISH, lines)
                self.assertIn(message, str(caught.exception))

    def test_a_literal_percent_sign_is_a_placeholder_of_its_own(self):
        english = ["LocalX=100%% of %s"]
        self.assertEqual(gen.merge_texts(english, ["LocalX=100%% de %s"]), ["LocalX=100%% de %s"])
        with self.assertRaises(gen.TextsError):
            gen.merge_texts(english, ["LocalX=100% de %s"])

    def test_a_slot_holds_79_characters(self):
        gen.check_lengths(["LocalX=" + "é" * 79, "RibbonText=" + "x" * 200])
        with self.assertRaises(gen.TextsError):
            gen.check_lengths(["LocalX=" + "é" * 80])


class ShippedTexts(unittest.TestCase):
    def test_spanish_has_every_english_key_and_no_other_with_the_same_placeholders(self):
        english = gen.read_lines(os.path.join(SOURCE_DIR, "resources", "settings_default.txt"))
        spanish = gen.read_lines(os.path.join(SOURCE_DIR, "resources", "settings_default_es.txt"))
        english_keys = [l.split("=", 1)[0] for l in english if gen.is_language_line(l)]
        self.assertEqual(len(english_keys), 148)
        self.assertEqual(sorted(gen.read_texts(spanish)), sorted(english_keys))
        merged = gen.merge_texts(english, spanish)
        gen.check_lengths(english)
        gen.check_lengths(merged)
        # A text that was left in English by mistake; short words such as "Color" may agree.
        same = [k for k, v in gen.read_texts(spanish).items()
                if dict(l.split("=", 1) for l in english if gen.is_language_line(l))[k] == v]
        self.assertLessEqual(set(same), {"LocalDlg_105_A", "LocalDlg_105_145_171_151_178_176"})


if __name__ == "__main__":
    unittest.main(verbosity=2)
