#!/usr/bin/env python3
"""Writes resources/help.txt, the help window's text: UTF-8, CR LF after every line.

The help window shows it in a fixed-pitch font, so the description columns are computed here
rather than counted by hand. Run from anywhere: python3 scripts/make_help_text.py
"""

import pathlib

WIDTH = 62

INTRODUCTION = [
    "   Консоль  вызывается нажатием сочетания Win+Z. Команды такие",
    'же, как и при вводе в поле "Выполнить".',
    "   Все команды регистрозависимые! ",
    "   Не  рекоммендуется  делать  ошибки  в командах и не ставить",
    "Лишние символы. Иначе команда не сработает.",
    "   Если надо запустить программу с параметрами, отделите пара-",
    "метры  вертикальной  чертой (|). Это  не  распространяется  на",
    "собственные  команды,  параметры  для  которых  указываются  в",
    "редакторе,  а  также  на  команды  ping  и  telnet для которых",
    "разделитель - пробел",
]

# Built-in commands: descriptions start in column 17. "commed" runs on over indented lines.
BUILT_IN_COLUMN = 17
BUILT_IN = [
    ("help", "Справка (это окно)"),
    ("options", "Опции программы"),
    ("about", "О программе"),
    ("hide", "Скрыть панель"),
    ("exit, quit", "Выход"),
    ("commed", "Редактор  команд (вы можете добавлять свои ко-"),
    (None, "манды,  а  потом  использовать их вместо более"),
    (None, "длинных  команд  (например: file=Путь_к_файлу."),
    (None, "В этом случае  команда file запустит программу"),
    (None, "Путь_к_файлу. Однако учтите, что команды file,"),
    (None, "File, filE для программы будут разные!)"),
    ("clearhistiory", "Очистить историю команд"),
]

# Reserved commands: descriptions start in column 23.
RESERVED_COLUMN = 23
RESERVED = [
    ('sertificates', 'Сертификаты'),
    ('indexserv', 'Служба индексирования'),
    ('compman', 'Управление компьютером'),
    ('devman', 'Диспетчер устройств'),
    ('defrag', 'Дефрагментатор диска'),
    ('diskman', 'Управление дисками'),
    ('events', 'Просмотр событий'),
    ('shared', 'Общие папки'),
    ('grpol', 'Групповая политика'),
    ('grandus', 'Локальные группы и пользователи'),
    ('remmem', 'Съемные ЗУ'),
    ('roremmem', 'Запросы операторов съемных ЗУ'),
    ('perfomance', 'Пролизводительность'),
    ('respol', 'Результирующая политика'),
    ('locsaf', 'Локальные параметры безопасности'),
    ('services', 'Службы'),
    ('wmi', 'Инфраструктура управления Windows (WMI)'),
    ('admin', 'Администрирование'),
    ('verifier', 'Диспетчер проверки драйверов'),
    ('utilman', 'Диспетчер служебных программ'),
    ('watson', 'Dr. Watson '),
    ('syskey', 'Защита БД учетных записей Windows'),
    ('iexpress', 'IExpress'),
    ('checkdisk ,chkdsk', 'Проверка диска'),
    ('bluetooth', 'Мастер передачи файлов через Bluetooth'),
    ('sysconfig, msconfig', 'Настройка системы'),
    ('sheduled', 'Назначенные задания'),
    ('shareddde', 'Общие ресурсы DDE'),
    ('clipboard', 'Папка обмена'),
    ('filesign, sigverif', 'Проверка подписи файла'),
    ('netsql', 'Программа сетевого клиента SQL'),
    ('remdesktop', 'Подключение к удаленному рабочему столу'),
    ('configs, sysedit', 'Редактор системных файлов'),
    ('registry, regedit', 'Редактор реестра'),
    ('mysymbols', 'Редактор личных символов'),
    ('directx, dxdiag', 'Служба диагностики DirectX'),
    ('components', 'Службы компонентов'),
    ('telnet', 'Телнет'),
    ('ping', 'Пинг'),
    ('cmd', 'Командная строка'),
    ('command', 'Командный интерпретатор DOS'),
    ('charmap', 'Таблица символов'),
    ('word, winword', 'Запуск Microsoft WOrd'),
    ('excel', 'Запуск Microsoft Excel'),
    ('ppoint', 'Запуск Mirosoft PowerPoint'),
    ('outlook', 'Запуск Outlook Express'),
    ('wab', 'Адресная книга'),
    ('taskman, taskmgr', 'Диспетчер задач'),
    ('letter, mailto:', 'Создать новое письмо'),
    ('javaconfig', 'Панель управления Java'),
    ('firebird', 'Управление сервером Firebird'),
    ('imagedrive', 'Nero Image Drive'),
    ('infocard', 'Инфокарта'),
    ('ac97', 'Конфигурация звукового устройства AC97'),
    ('specialconfig', 'Специальные возможности'),
    ('uninstaller', 'Установка и удаление программ'),
    ('desktopconfig', 'Свойства экрана'),
    ('firewallconfig', 'Брандмауэр Windows'),
    ('devinstaller', 'Мастер установки оборудования'),
    ('internetconfig', 'Свойства интернета'),
    ('languageconfig', 'Языки и региональные стандарты'),
    ('gamedevs', 'Игровые устройства'),
    ('mouseconfig', 'Настройки мыши'),
    ('soundconfig', 'Звуки и аудиоустройства'),
    ('network', 'Сетевые подключения'),
    ('netconfig', 'Мастер настройки сети'),
    ('systemconfig', 'Свойства системы'),
    ('powerconfig', 'Настройки электропитания'),
    ('phoneconfig', 'Телефон и модем '),
    ('clockconfig', 'Настройка часов'),
    ('security', 'Центр обеспечения безопасности Windows'),
    ('autoupdate', 'Автоматическое обновление'),
    ('odbc', 'Администратор источников данных'),
    ('bluetoothconfig', 'Устройства Bluetooth'),
    ('bde', 'BDE Администратор'),
]

# Session commands: descriptions start in column 22.
SESSION_COLUMN = 22
SESSION = [
    ("Shutdown, poweroff", "Выключение"),
    ("Reboot, restart", "Перезагрузка"),
    ("Forced, logoff", "Завершение сеанса"),
]


def described(words, description, column):
    """The words, a blank, hyphens and a blank, so the description starts in `column`."""
    if words is None:
        return " " * (column - 1) + description
    hyphens = column - 1 - len(words) - 2
    assert hyphens >= 1, words
    return words + " " + "-" * hyphens + " " + description


def banner(fill, title):
    return [fill * WIDTH, title, fill * WIDTH]


def help_lines():
    lines = list(INTRODUCTION)
    lines += banner("*", "************* Стандартные команды программы ******************")
    lines += [described(w, d, BUILT_IN_COLUMN) for w, d in BUILT_IN]
    lines += banner("=", "================ Зарезервированные команды ===================")
    lines += [described(w, d, RESERVED_COLUMN) for w, d in RESERVED]
    lines += banner("=", "=============== Команды управления Windows ===================")
    lines += [described(w, d, SESSION_COLUMN) for w, d in SESSION]
    lines.append("=" * WIDTH)
    return lines


def main():
    lines = help_lines()
    assert len(lines) == 110, len(lines)
    for line in lines:
        assert len(line) <= WIDTH, line
    target = pathlib.Path(__file__).resolve().parent.parent / "resources" / "help.txt"
    target.write_bytes("".join(line + "\r\n" for line in lines).encode("utf-8"))


if __name__ == "__main__":
    main()
