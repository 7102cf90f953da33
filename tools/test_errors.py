#!/usr/bin/env python3
"""Tests of tools/errors: the texts it reads out of C++ sources, as a box shows them."""
import unittest
from importlib.machinery import SourceFileLoader
from pathlib import Path

errors = SourceFileLoader("errors", str(Path(__file__).resolve().parent / "errors")).load_module()


def shown(source):
    return [(e["key"], e["shown"], e["suffix"]) for e in errors.read(source, "x.cpp")]


class ReadTest(unittest.TestCase):
    def test_texts_as_a_box_shows_them(self):
        cases = [
            # a literal text: its message line after the method line is the key
            ('if (a) throw "Метод \\"A::B()\\".\\nНе указан массив.";',
             [("Не указан массив.", 'Метод "A::B()".\nНе указан массив.', False)]),
            # adjacent literals join; a composed part becomes the placeholder
            ('throw std::string("Окно \\"") + title + "\\" не "\n "появилось.";',
             [('Окно "…" не появилось.', 'Окно "…" не появилось.', False)]),
            # a shape call puts its head before the detail; the last-error text is the suffix
            ('throw Utils::Error::Method("A::B", "Объект не получен.") + LastErrorText(code);',
             [("Объект не получен.", 'Ошибка в методе "A::B()".\nОбъект не получен.', True)]),
            ('throw Error::Argument(std::string("A::") + m, "Строка " + n + " неверна.");',
             [("Строка … неверна.", 'Метод "…()".\nСтрока … неверна.', False)]),
            ('throw Error::MethodLines("A::D", "Память не освобождена.", code);',
             [("Память не освобождена.", 'Ошибка в методе "A::D()".\nПамять не освобождена.', True)]),
            ('throw Failure("A::C", "Событие \\"" + name + "\\" не создано.", code);',
             [('Событие "…" не создано.', 'Ошибка в методе "A::C()".\nСобытие "…" не создано.', True)]),
            # both branches of a choice; a single word and comments are no texts
            ('throw c ? "Первый текст." : "Второй текст."; f("слово"); // "Не текст."',
             [("Первый текст.", "Первый текст.", False), ("Второй текст.", "Второй текст.", False)]),
        ]
        for source, expected in cases:
            with self.subTest(source=source):
                self.assertEqual(shown(source), expected)


if __name__ == "__main__":
    unittest.main()
