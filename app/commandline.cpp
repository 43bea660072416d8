#include "app/commandline.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace orvello {

const char* orvelloHelpText()
{
    return R"(Usage: orvello [--] [PHOTO]
       orvello --help | --version

Orvello shows a JPEG, TIFF or HEIC photo, lists its EXIF items and stamps the capture date and a
title onto it. With PHOTO it shows that photo and lists the photos of its folder; without it,
it asks for a photo in the open dialog. A PHOTO that cannot be opened is reported, then the
open dialog follows. One window runs per user: a second start hands its PHOTO to that window
and ends; should the running window not take it (it hangs, or could not listen), the photo
opens in a window of its own.

Options:
  -h, --help      show this help and exit
  -V, --version   show the version and exit

Exit status:
  0  the window was closed, or another instance was already running
  2  the seven-segment font files are missing
  3  the image libraries could not be started
  4  the lock file in the runtime folder could not be written (the folder is full, missing or
     unwritable), so whether another window runs cannot be told

Files:
  $XDG_CONFIG_HOME/Orvello/Orvello.ini (by default ~/.config/Orvello/Orvello.ini)
      the settings, group SetLog: read at start, written when the window closes
)";
}

const char* stampHelpText()
{
    // Translated where it is shown (answerInfoOption), once the interface's language is chosen.
    return QT_TRANSLATE_NOOP("cli", R"(用法：orvello-stamp exif [exif 的选项] 照片...
      orvello-stamp stamp [选项] 照片|文件夹...
      orvello-stamp stamp [选项] --files-from 列表文件|- [--null]
      orvello-stamp unstamp [--out 文件夹] [--overwrite] 无损副本...
      orvello-stamp --help | --version

命令：
  exif 照片...     列出每张照片的全部 EXIF 信息及其拍摄时间（captureDate:），最后一行
                   “dateText: 文字”是日期戳所画的文字（没有日期时为空）；给了 --title
                   时再加一行“titleText: 文字”，是填好字段的标题

exif 的选项：--settings、--title、--date-format、--date-shift、--date-fallback，
  含义与 stamp 的相同；照片名以“--”开头时，在它前面写 --
  stamp 照片...    像窗口那样给每张照片加上拍摄时间和标题，另存为“PM_”加照片名
                   （JPEG，带有照片的色彩配置文件和分辨率）。JPEG 照片默认无损加字：照片的
                   像素块原样保留，只有文字所在的像素块重新编码（见 --reencode）；TIFF 或
                   HEIC 照片整张编码为质量 100 的 JPEG，副本以 .jpg 结尾。侧放或镜像存储的
                   照片先按方向标记转正。原照片不会改动。
                   文件夹代表其中的照片（.jpg .jpeg .tif .tiff .heic .heif，不分大小写），顺序与窗口的照片列表相同；
                   名字以“PM_”开头的文件是本程序写出的副本，不算在内（在命令行上
                   或文件列表中直接给出的文件仍照常处理）。照片在所有处理器核心上同时处理；
                   标准输出上的行按参数的顺序排列。
  unstamp 副本...  去掉无损副本上的文字：写出的照片解码后与原照片（按副本的方向转正）
                   逐像素相同，名字为副本名去掉“PM_”，写在副本旁边或 --out 文件夹中，
                   不替换已有的文件（除非 --overwrite）。不含恢复数据或加字后被改动过的
                   副本被拒绝

stamp 的选项：
  --title 文字          加上这个标题，不论窗口是否开启了标题
                        （不给时：按窗口保存的开关，用默认标题“标题文字”）。
                        标题中可以有按每张照片填写的字段：{Make} {Model} {LensModel}
                        {FNumber}（f/2.8）{ExposureTime}（1/250）{ISO} {FocalLength}（35mm）
                        {FileName} {Date} {Date:格式}；照片没有的字段留空，{{ 和 }} 写出花括号
  --date-format 格式    日期的格式，用 Qt 的日期时间写法（yyyy yy MM M dd d HH hh mm ss AP，
                        原样的文字放在单引号里），默认 yyyy-MM-dd HH:mm:ss；
                        例如 yyyy-MM-dd、"''yy MM dd"（两个单引号写出一个）、dd.MM.yyyy、MM/dd/yyyy、yyyy年M月d日
  --date-shift 偏移     相机时钟不准时把拍摄时间移动 [+|-][天 ]时:分[:秒]，例如 +1:30、
                        "-1 2:00"（减一天两小时）；跨月、跨年照常计算
  --date-fallback none|file
                        照片没有拍摄时间（EXIF DateTimeOriginal，其次 XMP 的
                        exif:DateTimeOriginal、photoshop:DateCreated，再次 EXIF CreateDate）
                        时，file 用文件的修改时间；默认 none：不加日期
  --date-style 样式     日期的样式：plain（默认）、outline、shadow 或 plate
  --title-style 样式    标题的样式，取值同上
                        以上的值有错时，处理任何照片之前退出（状态 1）并说明原因；
                        它们覆盖设置（组 [Stamp]）中的相应值
  --rotate left|right   先把照片向左或向右转四分之一圈；可以重复
  --out 文件夹          写到这个文件夹（不存在时创建），而不是照片所在的文件夹
  --overwrite           替换已有的 PM_ 文件（链接本身被替换，不会写到它指向的文件）；
                        不给时拒绝写这张照片。要处理的照片本身永远不会被覆盖。
  --skip-existing       已有的副本保持原样，算作“跳过”：中断的运行（Ctrl+C、关掉的
                        终端、满了的磁盘）再运行一次同样的命令即可补完
  --settings 文件       从这个 INI 文件（组 [SetLog]，与窗口的键相同）读取设置，
                        而不是窗口保存的设置；文件无法读取或有错时，处理任何照片之前
                        退出（状态 1），并指出文件和行号
  --files-from 文件|-   从文件（- 为标准输入）读取要处理的照片，每行一个
  --null                列表中的名字以 NUL 分隔（find -print0 的输出）
  --recursive           文件夹连同其子文件夹；与 --out 一起时副本写到 --out 下相同的
                        子文件夹（按需创建，绝不写到它之外）
  --jobs N              同时处理 N 张照片（默认：每个处理器核心一张；不超过核心数，
                        也不超过可用内存所能容纳的数目）
  --quiet               只报告失败：没有进度行、已写的行和最后的统计
  --quality N           整张重新编码，JPEG 质量为 N，1 到 100（即 --reencode；与 --lossless
                        一起时只用于无法无损加字的照片；默认 100）
  --keep-metadata       副本保留照片的 EXIF、XMP 和 IPTC 信息：方向为 1（保持存储方向的副本
                        为它的转动），尺寸为副本的尺寸，不含缩略图；信息无法安全保留的照片
                        照常写出副本，但不含这些信息，并在标准错误上给出一行警告
  --lossless            JPEG 照片无损加字（默认）：照片的像素块原样保留，转正和 --rotate
                        也无损地完成；只有文字所在的像素块按照片自己的量化表和采样
                        重新编码。边长不是整数个像素块、转动会丢掉边缘像素的照片，副本
                        保持存储的方向，转动写在它的方向标记中。无法这样处理的照片
                        （CMYK 照片）按 --quality 整张重新编码，并在标准错误上给出一行原因
  --reencode            JPEG 照片也整张重新编码（质量 100，4:4:4 采样，或按 --quality）
  --no-restore-data     无损副本不带恢复数据（被文字替换的原像素块），副本略小，
                        但不能再用 unstamp 去掉文字
  --no-auto-orient      照片按存储的样子处理，不按 EXIF 或 TIFF 的方向标记转正
                        （与设置文件 [SetLog] 中的 AutoOrient=0 相同）

写出的每个副本先写进临时文件，完整后才取得自己的名字：中断的运行不会留下残缺的副本
或临时文件；两个同时运行的命令也不会互相覆盖副本。最后在标准错误上给出一行统计：
“已写 N 张，跳过 N 张，失败 N 张”。

选项：
  -h, --help      显示本帮助后退出
  -V, --version   显示版本后退出

退出状态：
  0  每张照片都已写出或跳过
  1  命令行无法理解，或设置文件、文件列表无法读取
  2  至少一张照片无法读取、列出或写出
  3  缺少字体文件，或无法启动图像库
  被 SIGINT、SIGTERM 或 SIGHUP 中止时，以该信号结束

文件：
  $XDG_CONFIG_HOME/Orvello/Orvello.ini（默认为 ~/.config/Orvello/Orvello.ini）
      窗口保存的设置，stamp 读取它
)");
}

std::optional<int> answerInfoOption(int argc, char** argv, const char* program, const char* help)
{
    if (argc < 2) return std::nullopt;
    const char* a = argv[1];
    if (std::strcmp(a, "-h") == 0 || std::strcmp(a, "--help") == 0) {
        std::fputs(QCoreApplication::translate("cli", help).toUtf8().constData(), stdout);
        return 0;
    }
    if (std::strcmp(a, "-V") == 0 || std::strcmp(a, "--version") == 0) {
        std::printf("%s (Orvello) %s\n", program, ORVELLO_VERSION);
        return 0;
    }
    return std::nullopt;
}

}  // namespace orvello
