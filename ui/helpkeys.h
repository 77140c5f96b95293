// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

// The window's keys as the help (F1) and `zelmo --help` list them: one table for both, so that
// they never say different things.
namespace zelmo::ui::texts {

// The help's keys, each a line of its own read as «F1 — эта справка»: a new key is one more row.
struct HelpKey {
    QString keys;
    QString what;
};
inline const QList<HelpKey> kHelpKeys = {
    {QStringLiteral("F1"), QStringLiteral("эта справка")},
    {QStringLiteral("F2, Ctrl+N"), QStringLiteral("новая партия (как «играть»)")},
    {QStringLiteral("1–9"), QStringLiteral("ход в клетку")},
    {QStringLiteral("0"),
     QStringLiteral("прочитать программе чтения с экрана доску по рядам, чей ход и счёт")},
    {QStringLiteral("Alt+1, Alt+2, Alt+3"),
     QStringLiteral("к оценке за победу (её меняют стрелки), за поражение, за ничью "
                    "(стрелки или цифра: сразу после Alt оценка выделена, и цифра заменяет её; "
                    "после шага стрелкой цифра дописывается, 5 и 3 дают 53, а при уходе из "
                    "оценки 53 становится 5, так что сначала сотрите её клавишей Backspace)")},
    {QStringLiteral("Esc"), QStringLiteral("от оценки назад к игре, где цифры снова ходят")},
    {QStringLiteral("F3"),
     QStringLiteral("окно «Память компьютера»: каждая запомненная позиция и вес каждого "
                    "испробованного ответа, урок последней партии; Esc закрывает его, а "
                    "1–9, 0, F1, F2, F4, F5, Ctrl+N, Ctrl+O, Ctrl+Shift+S, Ctrl+R и Ctrl+Q "
                    "действуют в нём, как в главном окне")},
    {QStringLiteral("F5"),
     QStringLiteral("окно само играет за «X» партию за партией, чтобы было видно, как компьютер "
                    "учится; останавливают его F5, щелчок по клетке, цифра и сообщение об ошибке")},
    {QStringLiteral("F4"),
     QStringLiteral("окно «История обучения»: доли побед игрока, побед компьютера и ничьих "
                    "по мере того, как сыграно всё больше партий; оно хранится вместе с памятью; "
                    "в нём действуют те же клавиши, что в окне F3")},
    {QStringLiteral("F6"),
     QStringLiteral("почему компьютер сыграл свой последний ход: найдена ли позиция, её ответы с "
                    "весами и правило выбора; окно F3 показывает так каждый его ход партии")},
    {QStringLiteral("Ctrl+O"),
     QStringLiteral("открыть файл памяти; файл, открытый в другом окне, выводит вперёд то окно")},
    {QStringLiteral("Ctrl+Shift+S"), QStringLiteral("сохранить копию памяти в новый файл")},
    {QStringLiteral("Ctrl+R"),
     QStringLiteral("вернуть память, какой она была перед последней промывкой мозгов, с её "
                    "историей и оценками (из копии ФАЙЛ.bak, а без файла из памяти окна), после "
                    "вопроса; нынешняя память становится копией, и повторное Ctrl+R вернёт её")},
    {QStringLiteral("Правая кнопка мыши, клавиша меню, Shift+F10"),
     QStringLiteral("меню всех действий окна с их клавишами")},
    {QStringLiteral("Tab, Пробел"), QStringLiteral("выбрать и нажать кнопку")},
    {QStringLiteral("Ctrl+Q"), QStringLiteral("выход")},
};

}  // namespace zelmo::ui::texts
