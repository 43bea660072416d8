<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>app</name>
    <message>
        <source>查看版权所有者信息</source>
        <translation>About the copyright holder</translation>
    </message>
    <message>
        <source>关于 %1</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>本软件可提取数码照片的EXIF信息并在照片上添加拍摄日期、自定义标题文字等。</source>
        <translation>This program shows the EXIF information of digital photos and stamps the capture date and a title of your own onto them.</translation>
    </message>
    <message>
        <source>欢迎访问我们的网站了解更多信息：</source>
        <translation>Visit our website to learn more: </translation>
    </message>
    <message>
        <source>的值过长（最多 %1 个字符）</source>
        <translation>has a value that is too long (at most %1 characters)</translation>
    </message>
    <message>
        <source>的值无法识别</source>
        <translation>has a value that cannot be read</translation>
    </message>
    <message>
        <source>的键名与读出的“%1”写法不同</source>
        <translation>has a key written differently from the “%1” it is read as</translation>
    </message>
    <message>
        <source>的组名与读出的“%1”写法不同</source>
        <translation>has a group name written differently from the “%1” it is read as</translation>
    </message>
    <message>
        <source>无法读取设置文件：%1（%2）</source>
        <translation>Cannot read the settings file: %1 (%2)</translation>
    </message>
    <message>
        <source>不是文件</source>
        <translation>not a file</translation>
    </message>
    <message>
        <source>设置文件过大：%1（%2 字节，最多 %3 字节）</source>
        <translation>The settings file is too large: %1 (%2 bytes, at most %3 bytes)</translation>
    </message>
    <message>
        <source>设置文件过大：%1</source>
        <translation>The settings file is too large: %1</translation>
    </message>
    <message>
        <source>设置文件 %1 第 %2 行%3：%4</source>
        <translation>Settings file %1, line %2 %3: %4</translation>
    </message>
    <message>
        <source>设置文件不是 UTF-8 文本：%1（第 %2 行）</source>
        <translation>The settings file is not UTF-8 text: %1 (line %2)</translation>
    </message>
    <message>
        <source>无法解析</source>
        <translation>cannot be parsed</translation>
    </message>
    <message>
        <source>设置文件 %1 有无法解析的行</source>
        <translation>Settings file %1 has a line that cannot be parsed</translation>
    </message>
    <message>
        <source>不是“键=值”</source>
        <translation>is not “key=value”</translation>
    </message>
    <message>
        <source>设置文件 %1 中键 %2 %3</source>
        <translation>In settings file %1, the key %2 %3</translation>
    </message>
    <message>
        <source>无法查看 %1：%2</source>
        <translation>Cannot check %1: %2</translation>
    </message>
    <message>
        <source>%1 已被其他文件占用</source>
        <translation>%1 is taken by another file</translation>
    </message>
    <message>
        <source>%1 正被另一个程序使用</source>
        <translation>%1 is in use by another program</translation>
    </message>
    <message>
        <source>无法删除 %1：%2</source>
        <translation>Cannot delete %1: %2</translation>
    </message>
    <message>
        <source>标题过长：%1 个字符，最多 %2 个</source>
        <translation>Title too long: %1 characters, at most %2</translation>
    </message>
    <message>
        <source>你确定要恢复默认设置吗？</source>
        <translation>Are you sure you want to restore the default settings?</translation>
    </message>
    <message>
        <source>磁盘已满</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>没有写入权限</source>
        <translation>no permission to write</translation>
    </message>
    <message>
        <source>文件夹不存在</source>
        <translation>the folder does not exist</translation>
    </message>
    <message>
        <source>原因不明</source>
        <translation>unknown reason</translation>
    </message>
    <message>
        <source>那里已有别的文件或文件夹</source>
        <translation>another file or folder is already there</translation>
    </message>
    <message>
        <source>无法创建锁文件 %1：%2。

无法确认 Orvello 是否已在运行，因此不能启动。请检查这个文件夹后再试。</source>
        <translation>Cannot create the lock file %1: %2.

Orvello cannot tell whether it is already running, so it cannot start. Please check this folder and try again.</translation>
    </message>
    <message>
        <source>orvello：正在运行的窗口没有接收照片，照片在新的窗口中打开。
</source>
        <translation>orvello: the running window did not take the photo; the photo opens in a new window.
</translation>
    </message>
    <message>
        <source>orvello：无法接收以后启动时交来的照片：%1
</source>
        <translation>orvello: cannot take photos handed over by later starts: %1
</translation>
    </message>
</context>
<context>
    <name>batch</name>
    <message>
        <source>照片太大</source>
        <translation>the photo is too large</translation>
    </message>
    <message>
        <source>“%1”无法无损加字（%2），已完整重新编码。</source>
        <translation>“%1” could not be stamped losslessly (%2); it was encoded again in full.</translation>
    </message>
    <message>
        <source>不支持的转动</source>
        <translation>unsupported turn</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>无法创建文件夹：%1（%2）</source>
        <translation>Cannot create the folder: %1 (%2)</translation>
    </message>
    <message>
        <source>目标文件是要处理的照片，不会覆盖它：%1</source>
        <translation>The target is a photo being processed and will not be overwritten: %1</translation>
    </message>
    <message>
        <source>本次已写入同名的目标文件，不会覆盖它：%1</source>
        <translation>A target of the same name was already written in this run and will not be overwritten: %1</translation>
    </message>
    <message>
        <source>目标已存在且不是文件：%1</source>
        <translation>The target exists and is not a file: %1</translation>
    </message>
    <message>
        <source>警告：照片“%1”的EXIF信息已损坏或无法安全写入，副本不含EXIF信息（%2）。</source>
        <translation>Warning: the EXIF items of photo “%1” are damaged or cannot be written safely; the copy has no EXIF items (%2).</translation>
    </message>
    <message>
        <source>警告：照片“%1”的厂商注释（MakerNote）在副本中无法保持可读，副本不含厂商注释，其余EXIF信息已保留。</source>
        <translation>Warning: the maker note (MakerNote) of photo “%1” cannot stay readable in the copy; the copy has no maker note, the other EXIF items were kept.</translation>
    </message>
    <message>
        <source>目标文件已存在，未写入：%1（加 --overwrite 可替换）</source>
        <translation>The target file exists, not written: %1 (add --overwrite to replace it)</translation>
    </message>
    <message>
        <source>存储失败！%1：%2</source>
        <translation>Saving failed! %1: %2</translation>
    </message>
    <message>
        <source>子文件夹通向 --out 文件夹之外，未写入：%1</source>
        <translation>The subfolder leads outside the --out folder, not written: %1</translation>
    </message>
</context>
<context>
    <name>cli</name>
    <message>
        <source>路径太长（超过 %1 字节），无法读取：%2</source>
        <translation>Path too long (over %1 bytes), cannot read: %2</translation>
    </message>
    <message>
        <source>文件夹中没有照片（%1）：%2</source>
        <translation>No photos in the folder (%1): %2</translation>
    </message>
    <message>
        <source>文件夹及其子文件夹中没有照片：%1</source>
        <translation>No photos in the folder or its subfolders: %1</translation>
    </message>
    <message>
        <source>无法读取文件列表：%1（%2）</source>
        <translation>Cannot read the file list: %1 (%2)</translation>
    </message>
    <message>
        <source>标准输入</source>
        <translation>standard input</translation>
    </message>
    <message>
        <source>用法：orvello-stamp exif [--title 文字] [--settings 文件] [--date-format 格式] [--date-shift 偏移] [--date-fallback none|file] 照片...
      orvello-stamp stamp [--title 文字] [--rotate left|right]... [--out 文件夹] [--overwrite|--skip-existing] [--settings 文件] [--recursive] [--jobs N] [--quiet]
             [--date-format 格式] [--date-shift 偏移] [--date-fallback none|file] [--date-style 样式] [--title-style 样式]
             [--quality N] [--keep-metadata] [--lossless|--reencode] [--no-restore-data] [--no-auto-orient] 照片|文件夹...
      orvello-stamp stamp [选项] --files-from 列表文件|- [--null]
      orvello-stamp unstamp [--out 文件夹] [--overwrite] 无损副本...
      orvello-stamp --help
</source>
        <translation>Usage: orvello-stamp exif [--title TEXT] [--settings FILE] [--date-format FORMAT] [--date-shift SHIFT] [--date-fallback none|file] PHOTO...
       orvello-stamp stamp [--title TEXT] [--rotate left|right]... [--out FOLDER] [--overwrite|--skip-existing] [--settings FILE] [--recursive] [--jobs N] [--quiet]
              [--date-format FORMAT] [--date-shift SHIFT] [--date-fallback none|file] [--date-style STYLE] [--title-style STYLE]
              [--quality N] [--keep-metadata] [--lossless|--reencode] [--no-restore-data] [--no-auto-orient] PHOTO|FOLDER...
       orvello-stamp stamp [OPTIONS] --files-from LISTFILE|- [--null]
       orvello-stamp unstamp [--out FOLDER] [--overwrite] LOSSLESS-COPY...
       orvello-stamp --help
</translation>
    </message>
    <message>
        <source>用法：orvello-stamp exif [exif 的选项] 照片...
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
                        例如 yyyy-MM-dd、&quot;&apos;&apos;yy MM dd&quot;（两个单引号写出一个）、dd.MM.yyyy、MM/dd/yyyy、yyyy年M月d日
  --date-shift 偏移     相机时钟不准时把拍摄时间移动 [+|-][天 ]时:分[:秒]，例如 +1:30、
                        &quot;-1 2:00&quot;（减一天两小时）；跨月、跨年照常计算
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
</source>
        <translation>Usage: orvello-stamp exif [EXIF OPTIONS] PHOTO...
       orvello-stamp stamp [OPTIONS] PHOTO|FOLDER...
       orvello-stamp stamp [OPTIONS] --files-from LISTFILE|- [--null]
       orvello-stamp unstamp [--out FOLDER] [--overwrite] LOSSLESS-COPY...
       orvello-stamp --help | --version

Commands:
  exif PHOTO...    List all EXIF items of each photo and its capture time (captureDate:); the
                   last line, &quot;dateText: TEXT&quot;, is the text the date stamp draws (empty when
                   there is no date); with --title one more line, &quot;titleText: TEXT&quot;, gives the
                   title with its fields filled in

exif options: --settings, --title, --date-format, --date-shift, --date-fallback,
  meaning the same as for stamp; when a photo&apos;s name begins with &quot;--&quot;, write -- before it
  stamp PHOTO...   Stamp each photo with its capture time and title as the window does, saved
                   as &quot;PM_&quot; plus the photo&apos;s name (JPEG, with the photo&apos;s colour profile and
                   resolution). JPEG photos are stamped losslessly by default: the photo&apos;s
                   pixel blocks are kept as they are and only the blocks under the text are
                   encoded again (see --reencode); TIFF or HEIC photos are encoded whole as
                   JPEG at quality 100, and the copy ends in .jpg. Photos stored on their side
                   or mirrored are first turned upright by their orientation tag. The original
                   photo is never changed.
                   A folder stands for its photos (.jpg .jpeg .tif .tiff .heic .heif, in any
                   case), in the order of the window&apos;s photo list; files whose names begin
                   with &quot;PM_&quot; are copies this program wrote and are left out (files named
                   directly on the command line or in a file list are handled as usual).
                   Photos are processed on all processor cores at once; the lines on
                   standard output follow the order of the arguments.
  unstamp COPY...  Remove the text from a lossless copy: the photo written decodes pixel for
                   pixel to the original photo (turned upright as the copy is), named as the
                   copy without &quot;PM_&quot;, written beside the copy or into the --out folder,
                   never replacing an existing file (unless --overwrite). Copies without
                   restore data, or changed after stamping, are refused

stamp options:
  --title TEXT          Add this title, whether or not the window has the title turned on
                        (without it: as the window&apos;s saved switch says, with the default
                        title &quot;Title text&quot;).
                        The title may hold fields filled in for each photo: {Make} {Model}
                        {LensModel} {FNumber} (f/2.8) {ExposureTime} (1/250) {ISO}
                        {FocalLength} (35mm) {FileName} {Date} {Date:FORMAT}; fields the photo
                        lacks are left empty, {{ and }} write a brace
  --date-format FORMAT  The date&apos;s format, in Qt&apos;s date-time notation (yyyy yy MM M dd d HH
                        hh mm ss AP, literal text in single quotes); default
                        yyyy-MM-dd HH:mm:ss; for example yyyy-MM-dd, &quot;&apos;&apos;yy MM dd&quot; (two single
                        quotes write one), dd.MM.yyyy, MM/dd/yyyy
  --date-shift SHIFT    Move the capture time when the camera&apos;s clock was wrong, by
                        [+|-][days ]hours:minutes[:seconds], for example +1:30, &quot;-1 2:00&quot;
                        (one day and two hours back); across months and years as usual
  --date-fallback none|file
                        When a photo has no capture time (EXIF DateTimeOriginal, then XMP&apos;s
                        exif:DateTimeOriginal, photoshop:DateCreated, then EXIF CreateDate),
                        file uses the file&apos;s modified time; default none: no date
  --date-style STYLE    The date&apos;s style: plain (default), outline, shadow or plate
  --title-style STYLE   The title&apos;s style, with the same values
                        When one of these values is wrong, the command exits (status 1)
                        before any photo, saying why; they override the matching values of
                        the settings (group [Stamp])
  --rotate left|right   First turn the photo a quarter turn left or right; may be repeated
  --out FOLDER          Write into this folder (created when missing) instead of the
                        photo&apos;s own folder
  --overwrite           Replace existing PM_ files (a link itself is replaced, nothing is
                        written to the file it points to); without it such a photo is
                        refused. The photos being processed are never overwritten.
  --skip-existing       Leave existing copies as they are, counted as &quot;skipped&quot;: an
                        interrupted run (Ctrl+C, a closed terminal, a full disk) is completed
                        by running the same command again
  --settings FILE       Read the settings from this INI file (group [SetLog], the window&apos;s
                        keys) instead of the window&apos;s saved settings; when the file cannot be
                        read or has an error, the command exits (status 1) before any photo,
                        naming the file and line
  --files-from FILE|-   Read the photos to process from a file (- for standard input), one
                        per line
  --null                Names in the list are separated by NUL (the output of find -print0)
  --recursive           Folders with their subfolders; with --out the copies go to the same
                        subfolders under --out (created as needed, never outside it)
  --jobs N              Process N photos at once (default: one per processor core; no more
                        than the cores, nor than the available memory can hold)
  --quiet               Report failures only: no progress lines, written lines or final
                        count
  --quality N           Encode whole photos again at JPEG quality N, 1 to 100 (that is,
                        --reencode; with --lossless only for photos that cannot be stamped
                        losslessly; default 100)
  --keep-metadata       Copies keep the photo&apos;s EXIF, XMP and IPTC items: orientation 1 (the
                        turn, for a copy that keeps the stored orientation), the copy&apos;s size,
                        no thumbnail; a photo whose items cannot be kept safely still gets its
                        copy, without them, and one warning line on standard error
  --lossless            Stamp JPEG photos losslessly (default): the photo&apos;s pixel blocks are
                        kept as they are, turning upright and --rotate are lossless too; only
                        the blocks under the text are encoded again with the photo&apos;s own
                        quantization tables and sampling. Where the sides are not whole blocks
                        and turning would drop edge pixels, the copy keeps the stored
                        orientation and the turn goes into its orientation tag. Photos that
                        cannot be handled so (CMYK photos) are encoded whole by --quality,
                        with one line on standard error saying why
  --reencode            Encode JPEG photos whole too (quality 100, 4:4:4 sampling, or by
                        --quality)
  --no-restore-data     Lossless copies carry no restore data (the original pixel blocks the
                        text replaced): slightly smaller copies, but unstamp can no longer
                        remove the text
  --no-auto-orient      Process photos as stored, not turned upright by their EXIF or TIFF
                        orientation tag (the same as AutoOrient=0 in [SetLog] of the
                        settings file)

Each copy is first written to a temporary file and takes its own name only when complete:
an interrupted run leaves no partial copy or temporary file, and two commands running at
once do not overwrite each other&apos;s copies. A final count goes to standard error:
&quot;Written N, skipped N, failed N&quot;.

Options:
  -h, --help      Show this help and exit
  -V, --version   Show the version and exit

Exit status:
  0  every photo was written or skipped
  1  the command line was not understood, or the settings file or file list could not be read
  2  at least one photo could not be read, listed or written
  3  a font file is missing, or the image library could not start
  When stopped by SIGINT, SIGTERM or SIGHUP, it ends by that signal

Files:
  $XDG_CONFIG_HOME/Orvello/Orvello.ini (by default ~/.config/Orvello/Orvello.ini)
      the window&apos;s saved settings, which stamp reads
</translation>
    </message>
    <message>
        <source>标题文字</source>
        <translation>Title text</translation>
    </message>
    <message>
        <source>%1/%2 张</source>
        <translation>%1/%2 photos</translation>
    </message>
    <message>
        <source>，%1 张/秒，约剩 %2 秒</source>
        <translation>, %1 photos/s, about %2 s left</translation>
    </message>
    <message>
        <source>--jobs %1 超出本机所能：%2 个处理器核心，可用内存 %3 MB，每张照片约需 %4 MB；改为同时处理 %5 张</source>
        <translation>--jobs %1 is more than this machine can do: %2 processor cores, %3 MB of available memory, about %4 MB per photo; processing %5 at once instead</translation>
    </message>
    <message>
        <source>未发现所需要的字体文件，请重新安装本软件！</source>
        <translation>The required font file was not found. Please reinstall this software!</translation>
    </message>
    <message>
        <source>已写 %1 张，跳过 %2 张，失败 %3 张</source>
        <translation>Written %1, skipped %2, failed %3</translation>
    </message>
    <message>
        <source>%1 缺少取值</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>%1 “%2”不可用：%3</source>
        <translation>%1 “%2” cannot be used: %3</translation>
    </message>
    <message>
        <source>格式中须至少有一个日期或时间字段，如 yyyy、MM、dd、HH</source>
        <translation>the format needs at least one date or time field, such as yyyy, MM, dd, HH</translation>
    </message>
    <message>
        <source>写法为 [+|-][天 ]时:分[:秒]，如 +1:30 或 &quot;-1 2:00&quot;</source>
        <translation>write it as [+|-][days ]hours:minutes[:seconds], such as +1:30 or &quot;-1 2:00&quot;</translation>
    </message>
    <message>
        <source>可选 none 或 file</source>
        <translation>choose none or file</translation>
    </message>
    <message>
        <source>可选 plain、outline、shadow 或 plate</source>
        <translation>choose plain, outline, shadow or plate</translation>
    </message>
    <message>
        <source>恢复的照片会与副本同名：请用 --out 指定别的文件夹</source>
        <translation>The restored photo would have the copy&apos;s name: give another folder with --out</translation>
    </message>
    <message>
        <source>存储失败</source>
        <translation>Saving failed</translation>
    </message>
    <message>
        <source>无法恢复！%1：%2</source>
        <translation>Cannot restore! %1: %2</translation>
    </message>
</context>
<context>
    <name>components</name>
    <message>
        <source>%1 盒子无法读取</source>
        <translation>the %1 box cannot be read</translation>
    </message>
    <message>
        <source>找不到主图像</source>
        <translation>no primary image</translation>
    </message>
    <message>
        <source>图像 %1 的 HEVC 配置无法读取</source>
        <translation>the HEVC configuration of image %1 cannot be read</translation>
    </message>
    <message>
        <source>图像 %1 的 HEVC 参数集无法读取</source>
        <translation>the HEVC parameter sets of image %1 cannot be read</translation>
    </message>
    <message>
        <source>图像 %1 没有 HEVC 参数集</source>
        <translation>image %1 has no HEVC parameter sets</translation>
    </message>
    <message>
        <source>图像 %1 的拼接数据无法读取</source>
        <translation>the grid data of image %1 cannot be read</translation>
    </message>
    <message>
        <source>JPEG 编码失败（%1）</source>
        <translation>JPEG encoding failed (%1)</translation>
    </message>
    <message>
        <source>没有可保存的图像</source>
        <translation>There is no image to save</translation>
    </message>
    <message>
        <source>写入失败</source>
        <translation>Writing failed</translation>
    </message>
    <message>
        <source>已取消</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>磁盘已满</source>
        <translation>The disk is full</translation>
    </message>
</context>
<context>
    <name>imaging</name>
    <message>
        <source>内存不足，无法打开 %1 × %2 像素的图像</source>
        <translation>Not enough memory to open an image of %1 × %2 pixels</translation>
    </message>
    <message>
        <source>图像数据只有 %1 字节，容纳不下它声称的 %2 × %3 像素（至少需要 %4 字节）</source>
        <translation>The image data has only %1 bytes, too few for the %2 × %3 pixels it claims (at least %4 bytes are needed)</translation>
    </message>
    <message>
        <source>图像尺寸无效（%1 × %2 像素）</source>
        <translation>Invalid image size (%1 × %2 pixels)</translation>
    </message>
    <message>
        <source>图像过大（%1 × %2 像素），超过本软件可处理的 2 亿像素上限</source>
        <translation>The image is too large (%1 × %2 pixels): this program handles at most 200 million pixels</translation>
    </message>
    <message>
        <source>解码这幅 %1 × %2 像素的图像约需 %3 MB 内存，超过本软件的上限</source>
        <translation>Decoding this image of %1 × %2 pixels would take about %3 MB of memory, more than this program allows</translation>
    </message>
    <message>
        <source>HEIF 文件已损坏（%1）</source>
        <translation>The HEIF file is damaged (%1)</translation>
    </message>
    <message>
        <source>HEIF 文件已损坏：%1声称 %2 × %3 像素，而文件声明的尺寸只有 %4 × %5 像素</source>
        <translation>The HEIF file is damaged: the %1 claims %2 × %3 pixels, but the file declares only %4 × %5 pixels</translation>
    </message>
    <message>
        <source>图像数据</source>
        <translation>image data</translation>
    </message>
    <message>
        <source>拼接图像</source>
        <translation>grid image</translation>
    </message>
    <message>
        <source>HEIF 文件中的图像尺寸超过本软件的上限（%1）</source>
        <translation>The image size in the HEIF file exceeds this program&apos;s limit (%1)</translation>
    </message>
    <message>
        <source>不支持这种 HEIF 图像（%1）</source>
        <translation>This kind of HEIF image is not supported (%1)</translation>
    </message>
    <message>
        <source>HEIF 图像数据无法解码（%1）</source>
        <translation>The HEIF image data cannot be decoded (%1)</translation>
    </message>
    <message>
        <source>HEIF 图像数据无法解码（解码结果无效）</source>
        <translation>The HEIF image data cannot be decoded (the decoded result is invalid)</translation>
    </message>
    <message>
        <source>JPEG 图像数据无法解码（%1）</source>
        <translation>The JPEG image data cannot be decoded (%1)</translation>
    </message>
    <message>
        <source>JPEG 文件头已损坏（%1）</source>
        <translation>The JPEG file header is damaged (%1)</translation>
    </message>
    <message>
        <source>JPEG 解码器无法启动</source>
        <translation>The JPEG decoder cannot be started</translation>
    </message>
    <message>
        <source>超过 %1 次扫描</source>
        <translation>more than %1 scans</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>The file does not exist</translation>
    </message>
    <message>
        <source>不是普通文件</source>
        <translation>Not a regular file</translation>
    </message>
    <message>
        <source>文件过大（超过 1 GB）</source>
        <translation>The file is too large (over 1 GB)</translation>
    </message>
    <message>
        <source>内存不足，无法读入文件</source>
        <translation>Not enough memory to read the file</translation>
    </message>
    <message>
        <source>文件无法读取（%1）</source>
        <translation>The file cannot be read (%1)</translation>
    </message>
    <message>
        <source>文件是空的</source>
        <translation>The file is empty</translation>
    </message>
    <message>
        <source>内存不足，无法解码图像</source>
        <translation>Not enough memory to decode the image</translation>
    </message>
    <message>
        <source>不是 JPEG、TIFF 或 HEIF 图像</source>
        <translation>Not a JPEG, TIFF or HEIF image</translation>
    </message>
    <message>
        <source>文件夹不存在：%1</source>
        <translation>The folder does not exist: %1</translation>
    </message>
    <message>
        <source>“%1”不是文件夹</source>
        <translation>“%1” is not a folder</translation>
    </message>
    <message>
        <source>“%1”是一个文件夹</source>
        <translation>“%1” is a folder</translation>
    </message>
    <message>
        <source>没有写入权限：%1</source>
        <translation>No permission to write: %1</translation>
    </message>
    <message>
        <source>磁盘为只读：%1</source>
        <translation>The disk is read-only: %1</translation>
    </message>
    <message>
        <source>磁盘空间不足：%1</source>
        <translation>Not enough disk space: %1</translation>
    </message>
    <message>
        <source>写入失败</source>
        <translation>Writing failed</translation>
    </message>
    <message>
        <source>存储失败！
</source>
        <translation>Saving failed!
</translation>
    </message>
    <message>
        <source>TIFF 文件头已损坏（%1）</source>
        <translation>The TIFF file header is damaged (%1)</translation>
    </message>
    <message>
        <source>不支持这种 TIFF 图像（压缩方式 %1）</source>
        <translation>This kind of TIFF image is not supported (compression %1)</translation>
    </message>
    <message>
        <source>不支持这种 TIFF 图像（%1）</source>
        <translation>This kind of TIFF image is not supported (%1)</translation>
    </message>
    <message>
        <source>系数行超出范围</source>
        <translation>coefficient row out of range</translation>
    </message>
    <message>
        <source>没有恢复数据（不是带恢复数据的无损副本）</source>
        <translation>no restore data (not a lossless copy with restore data)</translation>
    </message>
    <message>
        <source>系数平面的大小不符</source>
        <translation>the coefficient planes&apos; sizes do not match</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>恢复数据已损坏</source>
        <translation>the restore data is damaged</translation>
    </message>
    <message>
        <source>JPEG 图像数据不完整</source>
        <translation>the JPEG image data is incomplete</translation>
    </message>
    <message>
        <source>照片太大</source>
        <translation>the photo is too large</translation>
    </message>
    <message>
        <source>恢复数据与照片不符（照片已被裁切或重新编码）</source>
        <translation>the restore data does not match the photo (the photo was cropped or encoded again)</translation>
    </message>
    <message>
        <source>JPEG 变换器无法启动</source>
        <translation>the JPEG transformer cannot start</translation>
    </message>
    <message>
        <source>JPEG 图像数据无法读取（%1）</source>
        <translation>the JPEG image data cannot be read (%1)</translation>
    </message>
    <message>
        <source>没有读到图像系数</source>
        <translation>no image coefficients were read</translation>
    </message>
    <message>
        <source>加字处的像素块已被改动，无法恢复</source>
        <translation>the pixel blocks under the text were changed and cannot be restored</translation>
    </message>
    <message>
        <source>未知错误</source>
        <translation>unknown error</translation>
    </message>
    <message>
        <source>只有彩色（YCbCr 或 RGB）或灰度 JPEG 照片能无损加字</source>
        <translation>only colour (YCbCr or RGB) or greyscale JPEG photos can be stamped losslessly</translation>
    </message>
    <message>
        <source>采样方式 %1 不能无损变换</source>
        <translation>sampling %1 cannot be transformed losslessly</translation>
    </message>
    <message>
        <source>照片尺寸 %1 × %2 不是 %3 × %4 像素块的整数倍，无损旋转会丢掉边缘</source>
        <translation>the photo&apos;s size %1 × %2 is not a whole number of %3 × %4 pixel blocks; a lossless turn would drop the edges</translation>
    </message>
    <message>
        <source>无法载入 HEIF 解码库（%1），请重新安装本软件</source>
        <translation>The HEIF decoding library cannot be loaded (%1); please install this program again</translation>
    </message>
</context>
<context>
    <name>overlay</name>
    <message>
        <source>标题中的“%1”没有配对的花括号：花括号本身请写作 {{ 或 }}</source>
        <translation>The “%1” in the title has no matching brace: write a brace itself as {{ or }}</translation>
    </message>
    <message>
        <source>日期和时间（默认）</source>
        <translation>Date and time (default)</translation>
    </message>
    <message>
        <source>仅日期</source>
        <translation>Date only</translation>
    </message>
    <message>
        <source>仅时间</source>
        <translation>Time only</translation>
    </message>
    <message>
        <source>胶片相机（&apos;yy MM dd）</source>
        <translation>Film camera (&apos;yy MM dd)</translation>
    </message>
    <message>
        <source>日.月.年</source>
        <translation>Day.Month.Year</translation>
    </message>
    <message>
        <source>月/日/年</source>
        <translation>Month/Day/Year</translation>
    </message>
    <message>
        <source>中文日期</source>
        <translation>Chinese date</translation>
    </message>
    <message>
        <source>日期和 12 小时制时间</source>
        <translation>Date and 12-hour time</translation>
    </message>
    <message>
        <source>日期格式不能为空</source>
        <translation>The date format cannot be empty</translation>
    </message>
    <message>
        <source>日期格式过长（最多 %1 个字符）</source>
        <translation>The date format is too long (at most %1 characters)</translation>
    </message>
    <message>
        <source>日期格式中的引号没有配对：文字请写在一对单引号中，单引号本身写作 &apos;&apos;</source>
        <translation>A quote in the date format has no match: put text between a pair of single quotes, and write a single quote itself as &apos;&apos;</translation>
    </message>
    <message>
        <source>日期格式不能含时区（t）：照片记录的拍摄时间不带时区</source>
        <translation>The date format cannot contain a time zone (t): the capture time a photo records has no time zone</translation>
    </message>
    <message>
        <source>日期格式中的“%1”不是日期或时间字段：文字请写在单引号中，如 &apos;T&apos;</source>
        <translation>“%1” in the date format is not a date or time field: put text in single quotes, such as &apos;T&apos;</translation>
    </message>
    <message>
        <source>日期格式中没有日期或时间字段</source>
        <translation>The date format has no date or time field</translation>
    </message>
    <message>
        <source>时间偏移“%1”的格式不对：应为 [+|-][天 ]时:分[:秒]，例如 +1:30 或 -1 2:00</source>
        <translation>The time shift “%1” is not written correctly: it should be [+|-][days ]hours:minutes[:seconds], for example +1:30 or -1 2:00</translation>
    </message>
    <message>
        <source>时间偏移的小时须在 0 到 23 之间：整天请写在前面，如 +1 12:00</source>
        <translation>The time shift&apos;s hours must be between 0 and 23: write whole days in front, such as +1 12:00</translation>
    </message>
    <message>
        <source>时间偏移的分和秒须在 0 到 59 之间</source>
        <translation>The time shift&apos;s minutes and seconds must be between 0 and 59</translation>
    </message>
    <message>
        <source>标题中没有“{%1}”这个字段：可用的字段有 {Make} {Model} {LensModel} {FNumber} {ExposureTime} {ISO} {FocalLength} {FileName} {Date} {Date:格式}</source>
        <translation>The title has no field “{%1}”: the fields are {Make} {Model} {LensModel} {FNumber} {ExposureTime} {ISO} {FocalLength} {FileName} {Date} {Date:format}</translation>
    </message>
</context>
<context>
    <name>photo</name>
    <message>
        <source>……（另有 %1 项未列出：信息超过 %2 MB）</source>
        <translation>… (%1 more items not listed: the information exceeds %2 MB)</translation>
    </message>
    <message>
        <source>当前文件EXIF信息：</source>
        <translation>EXIF of the current file:</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>not enough memory</translation>
    </message>
    <message>
        <source>无法打开照片文件“%1”：%2。</source>
        <translation>Cannot open the photo file “%1”: %2.</translation>
    </message>
    <message>
        <source>照片文件“%1”不完整或已损坏，缺失的部分无法显示。</source>
        <translation>The photo file “%1” is incomplete or damaged; the missing part cannot be shown.</translation>
    </message>
    <message>
        <source>日期来源：EXIF</source>
        <translation>Date from: EXIF</translation>
    </message>
    <message>
        <source>日期来源：XMP</source>
        <translation>Date from: XMP</translation>
    </message>
    <message>
        <source>日期来源：XMP创建日期</source>
        <translation>Date from: XMP creation date</translation>
    </message>
    <message>
        <source>日期来源：EXIF数字化时间</source>
        <translation>Date from: EXIF digitized time</translation>
    </message>
    <message>
        <source>日期来源：文件修改时间</source>
        <translation>Date from: file modified time</translation>
    </message>
</context>
<context>
    <name>ui</name>
    <message>
        <source>未发现所需要的字体文件，请重新安装本软件！</source>
        <translation>The required font files were not found. Please reinstall this program!</translation>
    </message>
    <message>
        <source>你确定要关闭并结束程序吗？</source>
        <translation>Are you sure you want to close the program?</translation>
    </message>
    <message>
        <source>全部保存…</source>
        <translation>Save all…</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>标题最多 %1 个字符，多出的未收入</source>
        <translation>A title holds at most %1 characters; the rest was left out</translation>
    </message>
    <message>
        <source>
拍摄日期：%1
%2</source>
        <translation>
Capture date: %1
%2</translation>
    </message>
    <message>
        <source>普通</source>
        <translation>Plain</translation>
    </message>
    <message>
        <source>描边</source>
        <translation>Outline</translation>
    </message>
    <message>
        <source>阴影</source>
        <translation>Shadow</translation>
    </message>
    <message>
        <source>衬底</source>
        <translation>Backing</translation>
    </message>
    <message>
        <source>日期格式</source>
        <translation>Date format</translation>
    </message>
    <message>
        <source>时间偏移…</source>
        <translation>Time shift…</translation>
    </message>
    <message>
        <source>无拍摄日期时用文件修改时间</source>
        <translation>Use the file&apos;s modified time when there is no capture date</translation>
    </message>
    <message>
        <source>日期样式</source>
        <translation>Date style</translation>
    </message>
    <message>
        <source>标题样式</source>
        <translation>Title style</translation>
    </message>
    <message>
        <source>胶片相机的橙色</source>
        <translation>Film camera orange</translation>
    </message>
    <message>
        <source>时间偏移（%1）…</source>
        <translation>Time shift (%1)…</translation>
    </message>
    <message>
        <source>时间偏移</source>
        <translation>Time shift</translation>
    </message>
    <message>
        <source>相机时钟不准时，拍摄时间要移动多少：[+|-][天 ]时:分[:秒]
例如 +1:30 或 -1 2:00（减一天两小时）；留空为不移动。</source>
        <translation>If the camera&apos;s clock was wrong, how far to move the capture time: [+|-][days ]hours:minutes[:seconds]
For example +1:30 or -1 2:00 (one day and two hours back); leave empty for no shift.</translation>
    </message>
    <message>
        <source>“%1”不是时间偏移：写法为 [+|-][天 ]时:分[:秒]</source>
        <translation>“%1” is not a time shift: write it as [+|-][days ]hours:minutes[:seconds]</translation>
    </message>
    <message>
        <source>照片文件 (%1)|%1|所有文件 (*)|*</source>
        <translation>Photo files (%1)|%1|All files (*)|*</translation>
    </message>
    <message>
        <source>选择打开照片文件</source>
        <translation>Choose a photo file to open</translation>
    </message>
    <message>
        <source>文件夹“%1”中没有照片文件（%2）。</source>
        <translation>There are no photo files (%2) in the folder “%1”.</translation>
    </message>
    <message>
        <source>当前文件：</source>
        <translation>Current file: </translation>
    </message>
    <message>
        <source>照片文件另存为…(注:保存后的文件不包含相关EXIF信息)</source>
        <translation>Save photo file as… (note: the saved file does not contain the EXIF information)</translation>
    </message>
    <message>
        <source>正在保存照片：%1 / %2</source>
        <translation>Saving photos: %1 / %2</translation>
    </message>
    <message>
        <source>照片列表是空的，没有可保存的照片。</source>
        <translation>The photo list is empty; there are no photos to save.</translation>
    </message>
    <message>
        <source>全部保存到文件夹…</source>
        <translation>Save all to folder…</translation>
    </message>
    <message>
        <source>全部保存到文件夹…(注:保存后的文件不包含相关EXIF信息)</source>
        <translation>Save all to folder… (note: the saved files do not contain the EXIF information)</translation>
    </message>
    <message>
        <source>文件夹“%1”中已有 %2 个同名的文件。

是：全部覆盖
否：跳过已有的文件
取消：不保存</source>
        <translation>The folder “%1” already holds %2 files of the same names.

Yes: overwrite them all
No: skip the existing files
Cancel: do not save</translation>
    </message>
    <message>
        <source>全部保存</source>
        <translation>Save all</translation>
    </message>
    <message>
        <source>已保存 %1 张照片到文件夹“%2”。</source>
        <translation>Saved %1 photos to the folder “%2”.</translation>
    </message>
    <message>
        <source>
跳过已有的文件 %1 个。</source>
        <translation>
Skipped %1 existing files.</translation>
    </message>
    <message>
        <source>
已取消，%1 张照片未保存。</source>
        <translation>
Cancelled; %1 photos were not saved.</translation>
    </message>
    <message>
        <source>
……另有 %1 张</source>
        <translation>
… and %1 more</translation>
    </message>
    <message>
        <source>%1 张照片未能保存：</source>
        <translation>%1 photos could not be saved:</translation>
    </message>
    <message>
        <source>%1 张照片的副本不含EXIF信息：</source>
        <translation>The copies of %1 photos have no EXIF items:</translation>
    </message>
    <message>
        <source>%1 张照片未能无损加字，已完整重新编码：</source>
        <translation>%1 photos could not be stamped losslessly and were encoded again in full:</translation>
    </message>
    <message>
        <source>保留EXIF信息</source>
        <translation>Keep EXIF information</translation>
    </message>
    <message>
        <source>副本带有照片的EXIF、XMP和IPTC信息（方向为正，尺寸为副本的尺寸，不含缩略图）</source>
        <translation>Copies carry the photo&apos;s EXIF, XMP and IPTC items (upright orientation, the copy&apos;s size, no thumbnail)</translation>
    </message>
    <message>
        <source>无损</source>
        <translation>Lossless</translation>
    </message>
    <message>
        <source>JPEG照片只重新编码文字所在的部分，其余部分保持原样；TIFF和HEIC照片按所设质量完整编码</source>
        <translation>JPEG photos encode again only the part under the text and keep the rest as it is; TIFF and HEIC photos are encoded whole at the quality set</translation>
    </message>
    <message>
        <source>JPEG 质量（1–100）：</source>
        <translation>JPEG quality (1–100):</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>向左旋转</source>
        <translation>Rotate left</translation>
    </message>
    <message>
        <source>向右旋转</source>
        <translation>Rotate right</translation>
    </message>
    <message>
        <source>向上移动标题</source>
        <translation>Move title up</translation>
    </message>
    <message>
        <source>向下移动标题</source>
        <translation>Move title down</translation>
    </message>
    <message>
        <source>向左移动标题</source>
        <translation>Move title left</translation>
    </message>
    <message>
        <source>向右移动标题</source>
        <translation>Move title right</translation>
    </message>
    <message>
        <source>向上移动日期</source>
        <translation>Move date up</translation>
    </message>
    <message>
        <source>向下移动日期</source>
        <translation>Move date down</translation>
    </message>
    <message>
        <source>向左移动日期</source>
        <translation>Move date left</translation>
    </message>
    <message>
        <source>向右移动日期</source>
        <translation>Move date right</translation>
    </message>
    <message>
        <source>缩小文字</source>
        <translation>Smaller text</translation>
    </message>
    <message>
        <source>增大文字</source>
        <translation>Larger text</translation>
    </message>
    <message>
        <source>照片目录</source>
        <translation>Photo list</translation>
    </message>
    <message>
        <source>照片文件EXIF信息</source>
        <translation>Photo file EXIF information</translation>
    </message>
    <message>
        <source>标题文字</source>
        <translation>Title text</translation>
    </message>
    <message>
        <source>照片预览</source>
        <translation>Photo preview</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
</TS>
